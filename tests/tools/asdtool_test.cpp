// The asdtool command: sample, info and diff on real files, and every refusal.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "editor/savefile.h"
#include "support/testsupport.h"

#ifdef _WIN32
#include "support/winprocess.h"
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
extern char** environ;
#endif

namespace {

struct ToolResult {
  int code;
  std::string out, err;  // line ends as "\n" on every platform
};

std::string WithoutCarriageReturns(const std::vector<unsigned char>& bytes) {
  std::string text;
  for (unsigned char c : bytes)
    if (c != '\r') text += static_cast<char>(c);
  return text;
}

#ifdef _WIN32
HANDLE InheritableFile(const std::string& path) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
}

// Runs the tool with args, its output caught in files of dir.
ToolResult RunTool(const std::string& dir, const std::vector<std::string>& args) {
  std::string line = "\"" ASDTOOL_PATH "\"";
  for (const std::string& arg : args) line += " \"" + arg + "\"";
  HANDLE out = InheritableFile(dir + "out.txt");
  HANDLE err = InheritableFile(dir + "err.txt");
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process = {};
  ToolResult result = {-1, "", ""};
  if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    DWORD code = WaitForExit(process, 30000);
    if (code != STILL_ACTIVE) result.code = static_cast<int>(code);
  }
  CloseHandle(out);
  CloseHandle(err);
  result.out = WithoutCarriageReturns(ReadFileBytes(dir + "out.txt"));
  result.err = WithoutCarriageReturns(ReadFileBytes(dir + "err.txt"));
  return result;
}
#else
ToolResult RunTool(const std::string& dir, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(ASDTOOL_PATH));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  std::string outPath = dir + "out.txt", errPath = dir + "err.txt";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ToolResult result = {-1, "", ""};
  pid_t pid;
  int status = 0;
  if (posix_spawn(&pid, ASDTOOL_PATH, &actions, nullptr, argv.data(), environ) == 0 &&
      waitpid(pid, &status, 0) == pid && WIFEXITED(status))
    result.code = WEXITSTATUS(status);
  posix_spawn_file_actions_destroy(&actions);
  result.out = WithoutCarriageReturns(ReadFileBytes(outPath));
  result.err = WithoutCarriageReturns(ReadFileBytes(errPath));
  return result;
}
#endif

bool HasLine(const std::string& text, const std::string& line) {
  return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

// The first line of text that starts with prefix, without its line end.
std::string LineStartingWith(const std::string& text, const std::string& prefix) {
  std::size_t start = ("\n" + text).find("\n" + prefix);
  if (start == std::string::npos) return "";
  return text.substr(start, text.find('\n', start) - start);
}

// The file's values as the editor holds them.
GameStateData Loaded(const std::string& path) {
  GameState = GameStateData();
  EXPECT_EQ(0, LoadSaveFile(path.c_str())) << path;
  return GameState;
}

class AsdTool : public ::testing::Test {
protected:
  void SetUp() override { dir = ScratchDir(); }
  ToolResult Run(const std::vector<std::string>& args) { return RunTool(dir, args); }
  std::string dir;
};

}  // namespace

// The default sample, as pinned lines of info: the same on every platform.
TEST_F(AsdTool, SampleThenInfoShowsTheSampleValues) {
  std::string path = dir + "a.asd";
  ASSERT_EQ(0, Run({"sample", path}).code);
  ToolResult info = Run({"info", path});
  ASSERT_EQ(0, info.code) << info.err;
  EXPECT_EQ("", info.err);
  EXPECT_TRUE(HasLine(info.out, u8"ターン数: 215")) << info.out;
  EXPECT_TRUE(HasLine(info.out, "small values: 2 3 1"));
  EXPECT_TRUE(HasLine(info.out, "  40-41    67    42"));
  EXPECT_TRUE(HasLine(info.out, "  10-11    93    77"));
  EXPECT_TRUE(HasLine(info.out, u8"unit レベル 移動力 経験値  射程   体力  MAXHP  攻撃力 防御力  魔力  魔抵力 "
                                u8"命中値 回避値 Ｘ座標 Ｙ座標  ため   END?"));
  EXPECT_TRUE(HasLine(info.out, "   0     45      5     89      2     90    210     83     55     98     80     96"
                                "     32      9      2     82      0"));

  // Every unit row shows what the editor loads, END? as the box shows it.
  GameStateData state = Loaded(path);
  for (int u = 0; u < UnitCount; ++u) {
    char row[256];
    int n = std::snprintf(row, sizeof row, "%4d", u);
    for (int r = 0; r < StatCount; ++r) n += std::snprintf(row + n, sizeof row - n, " %6u", state.statRows[r][u]);
    EXPECT_TRUE(HasLine(info.out, row)) << row;
  }
}

TEST_F(AsdTool, InfoShowsEndAsTheEditorDoes) {
  std::string path = dir + "a.asd";
  ASSERT_EQ(0, Run({"sample", path, "--seed", "3"}).code);
  std::vector<unsigned char> bytes = ReadFileBytes(path);
  long end = FieldTable[EndFlagRow].offset;
  bytes[end + 2 * 4] = 0;  // unit 4: not "done" on disk, so ticked
  bytes[end + 2 * 4 + 1] = 0;
  bytes[end + 2 * 5] = 7;  // unit 5: any other value is not ticked
  ASSERT_TRUE(WriteFileBytes(path, bytes));
  std::string out = Run({"info", path}).out;
  std::string row4 = LineStartingWith(out, "   4 "), row5 = LineStartingWith(out, "   5 ");
  ASSERT_GT(row4.size(), 7u) << out;
  ASSERT_GT(row5.size(), 7u) << out;
  EXPECT_EQ("      1", row4.substr(row4.size() - 7));
  EXPECT_EQ("      0", row5.substr(row5.size() - 7));
}

// A sample is a complete save file with values in their ranges, made the
// same way every time for a seed.
TEST_F(AsdTool, SampleIsPlausibleAndDeterministic) {
  std::string a = dir + "a.asd", b = dir + "b.asd", c = dir + "c.asd";
  ASSERT_EQ(0, Run({"sample", a, "--seed", "42"}).code);
  ASSERT_EQ(0, Run({"sample", "--seed", "42", b}).code);
  ASSERT_EQ(0, Run({"sample", c, "--seed", "43"}).code);
  std::vector<unsigned char> bytesA = ReadFileBytes(a);
  EXPECT_EQ(bytesA, ReadFileBytes(b));
  EXPECT_NE(bytesA, ReadFileBytes(c));
  EXPECT_GT(static_cast<long>(bytesA.size()), SaveFileMinLength);
  EXPECT_EQ(0, std::memcmp(&bytesA[0], SaveHeaderText, SaveHeaderLength));
  EXPECT_EQ(0, std::memcmp(&bytesA[96], SaveTitleText, SaveTitleLength));

  GameStateData state = Loaded(a);
  EXPECT_GE(state.turnCount, 1);
  for (std::uint16_t v : state.smallValues) EXPECT_LE(v, 3);
  for (std::uint16_t v : state.counters) EXPECT_LE(v, 99);
  bool someEnded = false, someNot = false;
  for (int u = 0; u < UnitCount; ++u) {
    EXPECT_GE(state.statRows[0][u], 1);
    EXPECT_LE(state.statRows[0][u], 99);
    EXPECT_GE(state.statRows[4][u], 1);
    EXPECT_LE(state.statRows[4][u], state.statRows[5][u]);
    EXPECT_LE(state.statRows[12][u], 9);
    EXPECT_LE(state.statRows[13][u], 4);
    EXPECT_LE(state.statRows[EndFlagRow][u], 1);
    (state.statRows[EndFlagRow][u] ? someEnded : someNot) = true;
  }
  EXPECT_TRUE(someEnded && someNot);
}

TEST_F(AsdTool, DiffNamesEachChangedValue) {
  std::string a = dir + "a.asd", b = dir + "b.asd";
  ASSERT_EQ(0, Run({"sample", a}).code);
  ASSERT_TRUE(WriteFileBytes(b, ReadFileBytes(a)));
  ToolResult same = Run({"diff", a, b});
  EXPECT_EQ(0, same.code);
  EXPECT_EQ("no differences\n", same.out);

  GameStateData before = Loaded(b);
  GameState.statRows[0][7] = 98;  // unit 7's level
  GameState.statRows[EndFlagRow][3] = !GameState.statRows[EndFlagRow][3];
  GameState.counters[ItemCounterCount + 2] = 0;  // monster counter 2
  GameState.turnCount = 1000;
  ASSERT_EQ(0, StoreSaveFile(b.c_str()));
  char expected[512];
  std::snprintf(expected, sizeof expected,
                u8"ターン数: %u -> 1000\nmonster counter 2: %u -> 0\nunit 3 END?: %u -> %u\nunit 7 レベル: %u -> 98\n",
                before.turnCount, before.counters[ItemCounterCount + 2], before.statRows[EndFlagRow][3],
                !before.statRows[EndFlagRow][3], before.statRows[0][7]);
  ToolResult diff = Run({"diff", a, b});
  EXPECT_EQ(0, diff.code) << diff.err;
  EXPECT_EQ(expected, diff.out);
}

TEST_F(AsdTool, SampleOverwritesOnlyWithForce) {
  std::string path = dir + "a.asd";
  std::vector<unsigned char> mine = {'m', 'i', 'n', 'e'};
  ASSERT_TRUE(WriteFileBytes(path, mine));
  ToolResult refused = Run({"sample", path});
  EXPECT_EQ(5, refused.code);
  EXPECT_NE(std::string::npos, refused.err.find("--force")) << refused.err;
  EXPECT_EQ(mine, ReadFileBytes(path));
  EXPECT_EQ(0, Run({"sample", path, "--force"}).code);
  EXPECT_EQ(0, LoadSaveFile(path.c_str()));
}

// Each failure has its own exit code and says what went wrong on stderr.
TEST_F(AsdTool, FailuresExitWithTheirCodes) {
  std::string good = dir + "good.asd", foreign = dir + "foreign.asd", cut = dir + "cut.asd";
  ASSERT_EQ(0, Run({"sample", good}).code);
  std::vector<unsigned char> bytes = ReadFileBytes(good);
  bytes[10] ^= 0x20;
  ASSERT_TRUE(WriteFileBytes(foreign, bytes));
  bytes = ReadFileBytes(good);
  bytes.resize(SaveFileMinLength - 1);
  ASSERT_TRUE(WriteFileBytes(cut, bytes));
  std::string missing = dir + "missing.asd", unwritable = dir + "no-such-dir" + dir.back() + "new.asd";
  std::string folder = ScratchDir();
  folder.pop_back();

  struct Case {
    std::vector<std::string> args;
    int code;
    std::string message;
  } cases[] = {
      {{}, 1, "no command"},
      {{"show", good}, 1, "unknown command"},
      {{"info"}, 1, "info needs one FILE"},
      {{"info", good, good}, 1, "info needs one FILE"},
      {{"diff", good}, 1, "diff needs two FILEs"},
      {{"sample", missing, "--seed", "x"}, 1, "--seed"},
      {{"sample", missing, "--seed"}, 1, "--seed"},
      {{"info", good, "--force"}, 1, "unknown option"},
      {{"info", missing}, 2, "cannot open"},
      {{"diff", good, missing}, 2, "cannot open"},
      {{"info", foreign}, 3, "not a save file"},
      {{"diff", foreign, good}, 3, "not a save file"},
      {{"info", cut}, 4, "cut short"},
      {{"sample", unwritable}, 5, "cannot write"},
      {{"sample", folder, "--force"}, 5, "cannot write"},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& arg : c.args) shown += " " + arg;
    ToolResult result = Run(c.args);
    EXPECT_EQ(c.code, result.code) << shown;
    EXPECT_EQ("", result.out) << shown;
    EXPECT_NE(std::string::npos, result.err.find(c.message)) << shown << "\n" << result.err;
    if (c.code == 1) {
      EXPECT_NE(std::string::npos, result.err.find("usage: asdtool")) << shown;
    }
  }
  EXPECT_FALSE(FileExists(missing));
  EXPECT_TRUE(WriteFileBytes(folder + dir.back() + "still-there", {1}));  // the folder survived

  ToolResult help = Run({"--help"});
  EXPECT_EQ(0, help.code);
  EXPECT_EQ(0u, help.out.find("usage: asdtool info FILE\n"));
  EXPECT_EQ("", help.err);
}
