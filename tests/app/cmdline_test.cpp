// Splitting the command line into ArgVector, ProgramDir and ProgramName, with
// wildcards expanded against files the tests create.
#include "app/cmdline.h"

#include <windows.h>
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Args = std::vector<std::string>;

Args Split(const std::string& line) {
  SplitCommandLineText(line.c_str());
  return Args(ArgVector, ArgVector + ArgCount);
}

// The arguments from index first on, sorted: the order of a search is the file system's.
Args SortedFrom(const Args& args, std::size_t first) {
  Args rest(args.begin() + std::min(first, args.size()), args.end());
  std::sort(rest.begin(), rest.end());
  return rest;
}

void Touch(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  CloseHandle(file);
}

// Runs the test body with the current directory set to dir.
class InDirectory {
public:
  explicit InDirectory(const std::string& dir) {
    GetCurrentDirectoryA(MAX_PATH, saved_);
    SetCurrentDirectoryA(dir.c_str());
  }
  ~InDirectory() { SetCurrentDirectoryA(saved_); }

private:
  char saved_[MAX_PATH];
};

TEST(Splitting, BlanksAndQuotesShapeTheArguments) {
  std::string dir = ScratchDir();
  Touch(dir + "a.asd");
  InDirectory here(dir);
  EXPECT_EQ(Split("  C:\\x\\prog.exe   one\ttab  \"\" \"a b\"c e\"f \"*.asd\"   "),
            (Args{"C:\\x\\prog.exe", "one\ttab", "", "a b", "c", "e\"f", "*.asd"}));
  EXPECT_EQ(Split("prog.exe one \"two three"), (Args{"prog.exe", "one"}));
  EXPECT_EQ(Split("\"unclosed prog.exe"), Args{});
  EXPECT_STREQ(ProgramDir, "");
  EXPECT_STREQ(ProgramName, "");
}

TEST(Splitting, FirstArgumentSplitsAfterItsLastBackslash) {
  struct Case {
    const char* line;
    const char* dir;
    const char* name;
  } cases[] = {
      {"C:\\games\\asd\\asdedit.exe x\\y", "C:\\games\\asd\\", "asdedit.exe"},
      {"\"C:\\Program Files\\asdedit.exe\"", "C:\\Program Files\\", "asdedit.exe"},
      {"asdedit.exe C:\\x", "", "asdedit.exe"},
      {"C:\\games\\", "C:\\", "games\\"},  // a backslash at the very end does not count
      // The second byte of "表" is 0x5C: it does not split the name.
      {"C:\\ゲーム\\表.exe", "C:\\ゲーム\\", "表.exe"},
  };
  ASSERT_EQ("表"[1], '\\');
  for (const Case& c : cases) {
    SplitCommandLineText(c.line);
    EXPECT_STREQ(ProgramDir, c.dir) << c.line;
    EXPECT_STREQ(ProgramName, c.name) << c.line;
  }
}

TEST(Wildcards, DirectoryPartIsJoinedToEveryMatch) {
  std::string dir = ScratchDir();
  Touch(dir + "a.asd");
  Touch(dir + "b.asd");
  Touch(dir + "c.txt");
  ASSERT_TRUE(CreateDirectoryA((dir + "d.asd").c_str(), nullptr));

  Args args = Split("prog.exe first " + dir + "*.asd " + dir + "*.none last");
  ASSERT_EQ(ArgCount, 6);
  EXPECT_EQ(args.front(), "prog.exe");
  EXPECT_EQ(args[1], "first");
  EXPECT_EQ(args.back(), "last");
  args.pop_back();
  EXPECT_EQ(SortedFrom(args, 2), (Args{dir + "a.asd", dir + "b.asd", dir + "d.asd"}));

  EXPECT_EQ(Split("prog.exe " + dir + "?.txt"), (Args{"prog.exe", dir + "c.txt"}));
  EXPECT_EQ(Split("prog.exe " + dir + "*.none"), (Args{"prog.exe"}));
}

TEST(Wildcards, PatternWithoutBackslashGivesBareNames) {
  std::string dir = ScratchDir();
  Touch(dir + "a.asd");
  Touch(dir + "b.asd");
  InDirectory here(dir);
  EXPECT_EQ(SortedFrom(Split("prog.exe *.asd"), 1), (Args{"a.asd", "b.asd"}));
  // A drive letter with a colon is no directory part either.
  std::string drive(1, dir[0]);
  EXPECT_EQ(SortedFrom(Split("prog.exe " + drive + ":*.asd"), 1), (Args{"a.asd", "b.asd"}));
}

TEST(Wildcards, DoubleByteNamesKeepTheirDirectoryPart) {
  std::string dir = ScratchDir() + "表\\";
  ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
  Touch(dir + "表1.asd");
  EXPECT_EQ(Split("prog.exe " + dir + "表*.asd"), (Args{"prog.exe", dir + "表1.asd"}));
}

TEST(Wildcards, JoinedPathLongerThanTheBufferIsSkipped) {
  // A directory of exactly 240 characters: the pattern fits MAX_PATH, and of
  // two names the one whose joined path has 255 characters fits the 256-byte
  // buffer, the one with 256 does not.
  const std::size_t prefixLength = 240;
  std::string dir = ScratchDir();
  ASSERT_LT(dir.size() + 2, prefixLength);
  while (dir.size() < prefixLength) {
    std::size_t room = prefixLength - dir.size();
    std::string part(room > 120 ? 100 : room - 1, 'd');
    dir += part + "\\";
    // Past 248 characters the ANSI call needs the long-path form.
    ASSERT_TRUE(CreateDirectoryA(("\\\\?\\" + dir).c_str(), nullptr)) << dir.size();
  }
  ASSERT_EQ(dir.size(), prefixLength);
  std::string fits = std::string(255 - prefixLength - 4, 'f') + ".asd";
  std::string tooLong = std::string(256 - prefixLength - 4, 'g') + ".asd";
  Touch("\\\\?\\" + dir + fits);
  Touch("\\\\?\\" + dir + tooLong);

  EXPECT_EQ(Split("prog.exe " + dir + "*.asd x"), (Args{"prog.exe", dir + fits, "x"}));
}

}  // namespace
