// asdtool run from a shell: its output, the files it writes, its exit codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "support/model.h"

namespace {

std::string Q(const std::string& text) { return "\"" + text + "\""; }

// Runs line in a shell (on Windows in UTF-16, every character whole): its exit code.
int Shell(const std::string& line) {
#ifdef _WIN32
  const std::wstring wide = std::filesystem::u8path(line).wstring();
  return _wsystem((L"\"" + wide + L"\"").c_str());  // cmd /c takes the outer quotes off
#else
  const int status = std::system(line.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

// The text of the file at path, without carriage returns.
std::string Text(const std::string& path) {
  std::string text;
  for (unsigned char c : ReadBytes(path))
    if (c != '\r') text += static_cast<char>(c);
  return text;
}

class AsdTool : public ::testing::Test {
protected:
  // Runs asdtool with args (quoted), output into to: its exit code; out and err hold what it wrote.
  int Run(const std::string& args, const std::string& to = "") {
    const std::string outPath = to.empty() ? dir + "out" : to;
    const int code =
        Shell(Q(ASDTOOL_PATH) + " " + args + " >" + Q(outPath) + " 2>" + Q(dir + "err"));
    out = Text(dir + "out");
    err = Text(dir + "err");
    return code;
  }
  std::string dir = ScratchDir();
  std::string a = dir + "a.asd";
  std::string b = dir + "b.asd";
  std::string out;
  std::string err;
};

}  // namespace

TEST_F(AsdTool, SampleInfoAndDiffShowTheValuesAsTheEditorDoes) {
  ASSERT_EQ(0, Run("sample " + Q(a)));
  Bytes bytes = ReadBytes(a);
  GameStateData state = StateOf(bytes);
  EXPECT_EQ(0, Run("set --help"));
  EXPECT_NE(std::string::npos, out.find("magicResistance")) << out;  // the keys set takes
  EXPECT_EQ(0, Run("info " + Q(a)));
  EXPECT_EQ(0u, out.find(u8"ターン数: 215\nsmall values: 2 3 1\n")) << out;  // everywhere
  EXPECT_EQ(0, Run("sample " + Q(b) + " --seed 1"));  // the same numbers for the same seed
  EXPECT_EQ(7, Run("sample " + Q(b) + " --seed 2"));  // and nothing over a file without --force
  EXPECT_EQ(bytes, ReadBytes(b));
  EXPECT_EQ(0, Run("diff " + Q(a) + " " + Q(b)));
  PutWord(bytes, StatOffset(LevelRow, 7), 98);
  PutWord(bytes, CounterOffset(ItemCounterCount + 3), 77);
  PutWord(bytes, StatOffset(EndFlagRow, 3), !WordAt(bytes, StatOffset(EndFlagRow, 3)));
  ASSERT_TRUE(WriteBytes(b, bytes));
  EXPECT_EQ(1, Run("diff " + Q(a) + " " + Q(b)));  // as diff and cmp say "they differ"
  const int end = state.statRows[EndFlagRow][3];
  EXPECT_EQ("monster counter 3: " + std::to_string(state.counters[ItemCounterCount + 3]) +
                " -> 77\nunit 3 END?: " + std::to_string(end) + " -> " + std::to_string(!end) +
                "\nunit 7 " + u8"レベル: " + std::to_string(state.statRows[LevelRow][7]) +
                " -> 98\n",
            out);
#ifndef _WIN32
  EXPECT_EQ(5, Run("info " + Q(a), "/dev/full"));  // a failed write to standard output
#endif
}

TEST_F(AsdTool, ExportImportAndSetChangeExactlyTheValuesNamedThroughAnyPath) {
  const std::string folder = dir + u8"Téléchargements/세이브 데이터/表ソ 能/";
  std::filesystem::create_directories(std::filesystem::u8path(folder + "sub"));
  a = folder + "a.asd";
  const Bytes original = SyntheticSave(13, true);  // values far outside the editor's ranges too
  ASSERT_TRUE(WriteBytes(a, original));
  GameStateData state = StateOf(original);
  const std::string doc = folder + "v.json";
  ASSERT_EQ(0, Run("export " + Q(a) + " -o " + Q(doc))) << err;
  ASSERT_EQ(0, Run("import " + Q(a) + " " + Q(doc))) << err;
  EXPECT_EQ(original, ReadBytes(a));
  ASSERT_EQ(0, Run("export " + Q(a)));
  const std::string level = std::to_string(state.statRows[LevelRow][0]);
  EXPECT_NE(std::string::npos, out.find(u8"\"アルシオン\",\n      \"level\": " + level + ","))
      << out;

  const std::string partial =
      u8R"({"turnCount": 7, "smallValues": [3, 0, 1], "monsters": [{"index": 11, "count": 99}],
      "units": [{"unit": 9, "x": 9, "ended": true},
      {"name": "アルシオン", "y": 0, "unit": 0, "level": 65535}]})";
  ASSERT_TRUE(WriteBytes(doc, Bytes(partial.begin(), partial.end())));
  ASSERT_EQ(0, Run("import " + Q(a) + " - <" + Q(doc))) << err;
  state.turnCount = 7;
  std::copy_n("\3\0\1", 3, state.smallValues);
  state.counters[ItemCounterCount + 11] = 99;
  state.statRows[XRow][9] = 9;
  state.statRows[EndFlagRow][9] = 1;
  state.statRows[YRow][0] = 0;
  state.statRows[LevelRow][0] = 65535;
  EXPECT_EQ(Stored(original, state), ReadBytes(a));

  ASSERT_EQ(0, Run("set " + Q(a) + " " + Q("units.*.level=99") + " " + Q("items.*=0") +
                   " units.3.ended=0"))
      << err;
  for (int u = 0; u < UnitCount; ++u) state.statRows[LevelRow][u] = 99;
  for (int k = 0; k < ItemCounterCount; ++k) state.counters[k] = 0;
  state.statRows[EndFlagRow][3] = 0;
  const Bytes edited = Stored(original, state);
  EXPECT_EQ(edited, ReadBytes(a));

  Bytes foreign = edited;
  foreign[100] ^= 1;
  Bytes cut = edited;
  cut.resize(ModelLength - 1);
  ASSERT_TRUE(WriteBytes(dir + "foreign.asd", foreign) && WriteBytes(dir + "cut.asd", cut));
  const auto entries = [&] {
    return std::distance(std::filesystem::directory_iterator(std::filesystem::u8path(folder)), {});
  };
  const auto before = entries();
  const std::string sub = Q(folder + "sub");
  struct Case {
    std::string doc;   // written to DOC first, when not empty
    std::string args;  // after "asdtool"
    int code;
    const char* place;  // what the message names
  } cases[] = {
      // clang-format off
      {"", "show " + Q(a), 8, "show"},
      {"", "sample " + Q(b) + " --sed 2", 8, "--sed"},
      {"", "info " + Q(dir + "none"), 2, "none: cannot open the file: No such file or directory"},
      {"", "info " + sub, 2, "sub"},  // a folder is no file, wherever a file is named
      {"", "diff " + Q(a) + " " + sub, 2, "sub"},
      {"", "export " + sub, 2, "sub"},
      {"", "import " + sub + " " + Q(doc), 2, "sub"},
      {"", "set " + sub + " turnCount=1", 2, "sub"},
      {"", "import " + Q(a) + " " + sub, 2, "sub"},
      {"", "diff " + Q(a) + " " + Q(dir + "foreign.asd"), 3, "foreign.asd"},
      {"", "info " + Q(dir + "cut.asd"), 4, "cut.asd"},
      {"", "export " + Q(a) + " -o " + sub + " --force", 5, "sub"},  // and no partial file
      {"", "export " + Q(a) + " -o " + Q(doc), 7, "v.json"},
      {R"({"turnCount": 1, "units": [{"unit": 9, "x": 10}]})", "", 6, "units[0].x"},
      {R"({"turnCount": 18446744073709551616})", "", 6, "51616 is outside 0 to 65535"},
      {R"({"monsters": [{"index": 1}, {"index": 1}]})", "", 6, "monsters[1]"},
      {R"({"units": [{"unit": 2}, {"unit": 0, "level": 5, "level": 6}]})", "", 6, "units[1].level"},
      {"{\n  \"turnCount\": 1,\n}", "", 6, "line 3, column 1"},
      {"", "set " + Q(a) + " units.0.level=1 units.50.x=1", 6, "units.50.x: units are 0 to 49"},
      // clang-format on
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(c.doc.empty() || WriteBytes(doc, Bytes(c.doc.begin(), c.doc.end())));
    EXPECT_EQ(c.code, Run(c.doc.empty() ? c.args : "import " + Q(a) + " " + Q(doc))) << c.args;
    EXPECT_NE(std::string::npos, err.find(c.place)) << c.doc << c.args << ": " << err;
    EXPECT_EQ(edited, ReadBytes(a)) << c.doc << c.args;
  }
  EXPECT_EQ(before, entries());  // no partial file left behind
}

#ifndef _WIN32
// With --force, export writes into what OUT leads to: the file at the end of a chain of links, a
// FIFO's reader. Without it, a file that turns up after the check for OUT stays as it is: strace
// makes that check miss the file, and then the no-replace rename fail as on a file system that
// takes no flags for it, so that no timing decides.
TEST_F(AsdTool, ExportWritesWhereItIsToldAndOverNoFileThatTurnsUp) {
  ASSERT_EQ(0, Run("sample " + Q(a)));
  ASSERT_EQ(0, Run("export " + Q(a)));
  const Bytes doc(out.begin(), out.end());
  const Bytes old = {'o', 'l', 'd'};
  std::filesystem::create_symlink("file", dir + "link");
  std::filesystem::create_symlink(dir + "link", dir + "chain");
  EXPECT_EQ(7, Run("export " + Q(a) + " -o " + Q(dir + "chain")));  // a link to no file is there
  for (int i = 0; i < 2; ++i) {  // making the file the links lead to, then replacing it
    EXPECT_EQ(0, Run("export " + Q(a) + " -o " + Q(dir + "chain") + " --force")) << err;
    EXPECT_EQ(doc, ReadBytes(dir + "file"));
    ASSERT_TRUE(WriteBytes(dir + "file", old));
  }
  EXPECT_TRUE(std::filesystem::is_symlink(dir + "chain") &&
              std::filesystem::is_symlink(dir + "link"));

  ASSERT_EQ(0, mkfifo((dir + "fifo").c_str(), 0600));
  // A reader that waits; the document fits in the FIFO's buffer, so asdtool need not wait for it.
  const int reader = open((dir + "fifo").c_str(), O_RDONLY | O_NONBLOCK);
  EXPECT_EQ(0, Run("export " + Q(a) + " -o " + Q(dir + "fifo") + " --force")) << err;
  std::vector<char> got(doc.size() + 1);
  got.resize(std::max<ssize_t>(read(reader, got.data(), got.size()), 0));
  EXPECT_EQ(doc, Bytes(got.begin(), got.end()));
  EXPECT_TRUE(close(reader) == 0 && std::filesystem::is_fifo(dir + "fifo"));

  const std::string trace = dir + "out";  // strace's record, in a file already there
  const auto entries = [&] { return std::distance(std::filesystem::directory_iterator(dir), {}); };
  const auto before = entries();
  for (const std::string refusal : {" ", " -e inject=renameat2:error=EINVAL "}) {
    // LeakSanitizer, in a sanitized build, cannot look for leaks under strace.
    EXPECT_EQ(7,
              Shell("ASAN_OPTIONS=$ASAN_OPTIONS:detect_leaks=0 strace -qq -o " + Q(trace) + " -P " +
                    Q(dir + "file") + " -e inject=%%stat:error=ENOENT" + refusal + Q(ASDTOOL_PATH) +
                    " export " + Q(a) + " -o " + Q(dir + "file") + " 2>" + Q(dir + "err")));
    EXPECT_NE(std::string::npos, Text(trace).find(refusal.size() > 1 ? "link" : "INJECTED"))
        << Text(trace);
    EXPECT_EQ(old, ReadBytes(dir + "file"));
  }
  EXPECT_EQ(before, entries());  // no partial file left behind
}
#endif
