// asdtool as a user runs it from a shell: its output, the files it writes and
// its exit codes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "support/model.h"

namespace {

std::string Q(const std::string& text) { return "\"" + text + "\""; }

class AsdTool : public ::testing::Test {
protected:
  // Runs asdtool with args (quoted by the caller): its exit code; out and err
  // hold what it wrote, without carriage returns.
  int Run(const std::string& args) {
    std::string line = Q(ASDTOOL_PATH) + " " + args + " >" + Q(dir + "out") + " 2>" + Q(dir + "err");
#ifdef _WIN32
    int code = std::system(Q(line).c_str());  // cmd /c takes the outer quotes off
#else
    int status = std::system(line.c_str()), code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    out = err = "";
    for (unsigned char c : ReadBytes(dir + "out")) out += c == '\r' ? "" : std::string(1, c);
    for (unsigned char c : ReadBytes(dir + "err")) err += c == '\r' ? "" : std::string(1, c);
    return code;
  }
  std::string dir = ScratchDir(), a = dir + "a.asd", b = dir + "b.asd", out, err;
};

}  // namespace

TEST_F(AsdTool, SampleInfoAndDiffShowTheValuesAsTheEditorDoes) {
  ASSERT_EQ(0, Run("sample " + Q(a)));
  Bytes bytes = ReadBytes(a);
  GameStateData state = StateOf(bytes);
  EXPECT_EQ(0, Run("info " + Q(a)));
  EXPECT_EQ(0u, out.find(u8"ターン数: 215\nsmall values: 2 3 1\n")) << out;  // the same sample everywhere
  for (int u = 0; u < UnitCount; ++u) {
    char row[160];
    for (int r = 0, n = std::snprintf(row, sizeof row, "\n%4d", u); r < StatCount; ++r)
      n += std::snprintf(row + n, sizeof row - n, " %6u", state.statRows[r][u]);
    EXPECT_NE(std::string::npos, out.find(std::string(row) + "\n")) << row;
  }
  EXPECT_EQ(0, Run("sample " + Q(b) + " --seed 1"));  // the same numbers for the same seed
  EXPECT_EQ(5, Run("sample " + Q(b) + " --seed 2"));  // and nothing over a file without --force
  EXPECT_EQ(bytes, ReadBytes(b));
  PutWord(bytes, StatOffset(LevelRow, 7), 98);
  PutWord(bytes, CounterOffset(ItemCounterCount + 3), 77);
  PutWord(bytes, StatOffset(EndFlagRow, 3), !WordAt(bytes, StatOffset(EndFlagRow, 3)));
  ASSERT_TRUE(WriteBytes(b, bytes));
  EXPECT_EQ(0, Run("diff " + Q(a) + " " + Q(b)));
  int end = state.statRows[EndFlagRow][3];
  EXPECT_EQ("monster counter 3: " + std::to_string(state.counters[ItemCounterCount + 3]) + " -> 77\nunit 3 END?: " +
                std::to_string(end) + " -> " + std::to_string(!end) + "\nunit 7 " + u8"レベル: " +
                std::to_string(state.statRows[LevelRow][7]) + " -> 98\n", out);
}

TEST_F(AsdTool, RefusalsExitWithTheirCodes) {
  ASSERT_EQ(0, Run("sample " + Q(a)));
  Bytes foreign = ReadBytes(a), cut = foreign;
  foreign[10] ^= 0x20;
  cut.resize(ModelLength - 1);
  ASSERT_TRUE(WriteBytes(b, foreign) && WriteBytes(dir + "cut.asd", cut));
  struct Case {
    std::string args;
    int code;
    const char* message;
  } cases[] = {
      {"", 1, "no command"}, {"show " + Q(a), 1, "unknown command"}, {"info", 1, "info needs one FILE"},
      {"sample " + Q(b + "x") + " --seed x", 1, "--seed"}, {"info " + Q(a + "x"), 2, "cannot open"},
      {"diff " + Q(b) + " " + Q(a), 3, "not a save file"}, {"info " + Q(dir + "cut.asd"), 4, "cut short"},
      {"sample " + Q(dir + "no/such/x.asd"), 5, "cannot write"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.code, Run(c.args)) << c.args;
    EXPECT_NE(std::string::npos, err.find(c.message)) << c.args << ": " << err;
  }
  EXPECT_EQ(0, Run("--help"));
  EXPECT_EQ(0u, out.find("usage: asdtool info FILE\n"));
}
