// asdtool run from a shell: its output, the files it writes, its exit codes.
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
    std::string line =
        Q(ASDTOOL_PATH) + " " + args + " >" + Q(dir + "out") + " 2>" + Q(dir + "err");
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
  EXPECT_EQ(0u, out.find(u8"ターン数: 215\nsmall values: 2 3 1\n"))
      << out;  // the same sample everywhere
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
  EXPECT_EQ("monster counter 3: " + std::to_string(state.counters[ItemCounterCount + 3]) +
                " -> 77\nunit 3 END?: " + std::to_string(end) + " -> " + std::to_string(!end) +
                "\nunit 7 " + u8"レベル: " + std::to_string(state.statRows[LevelRow][7]) +
                " -> 98\n",
            out);
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
      {"", 1, "no command"},
      {"show " + Q(a), 1, "unknown command"},
      {"info", 1, "info needs one FILE"},
      {"sample " + Q(b + "x") + " --seed x", 1, "--seed"},
      {"info " + Q(a + "x"), 2, "cannot open"},
      {"diff " + Q(b) + " " + Q(a), 3, "not a save file"},
      {"info " + Q(dir + "cut.asd"), 4, "cut short"},
      {"sample " + Q(dir + "no/such/x.asd"), 5, "cannot write"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.code, Run(c.args)) << c.args;
    EXPECT_NE(std::string::npos, err.find(c.message)) << c.args << ": " << err;
  }
  EXPECT_EQ(0, Run("--help"));
  EXPECT_EQ(0u, out.find("usage: asdtool info FILE\n"));
}

TEST_F(AsdTool, ExportImportAndSetChangeExactlyTheValuesNamed) {
  Bytes original = SyntheticSave(13, true);  // values far outside the editor's ranges too
  ASSERT_TRUE(WriteBytes(a, original));
  GameStateData state = StateOf(original);
  std::string doc = dir + "v.json";
  ASSERT_EQ(0, Run("export " + Q(a) + " -o " + Q(doc)));
  EXPECT_EQ(5, Run("export " + Q(a) + " -o " + Q(doc)));  // not over a file without --force
  ASSERT_EQ(0, Run("import " + Q(a) + " " + Q(doc))) << err;
  EXPECT_EQ(original, ReadBytes(a));
  ASSERT_EQ(0, Run("export " + Q(a)));
  EXPECT_NE(std::string::npos,
            out.find(u8"\"unit\": 0,\n      \"name\": \"アルシオン\",\n      \"level\": " +
                     std::to_string(state.statRows[LevelRow][0]) + ",\n"))
      << out;

  const std::string partial =
      u8R"({"turnCount": 7, "smallValues": [3, 0, 1], "monsters": [{"index": 11, "count": 99}],
      "units": [{"unit": 9, "x": 9, "ended": true}, {"name": "アルシオン", "y": 0, "unit": 0, "level": 65535}]})";
  ASSERT_TRUE(WriteBytes(doc, Bytes(partial.begin(), partial.end())));
  ASSERT_EQ(0, Run("import " + Q(a) + " - <" + Q(doc))) << err;
  state.turnCount = 7;
  state.smallValues[0] = 3, state.smallValues[1] = 0, state.smallValues[2] = 1;
  state.counters[ItemCounterCount + 11] = 99;
  state.statRows[XRow][9] = 9, state.statRows[EndFlagRow][9] = 1;
  state.statRows[YRow][0] = 0, state.statRows[LevelRow][0] = 65535;
  EXPECT_EQ(Stored(original, state), ReadBytes(a));

  ASSERT_EQ(0, Run("set " + Q(a) + " " + Q("units.*.level=99") + " " + Q("items.*=0") +
                   " units.3.ended=0"))
      << err;
  for (int u = 0; u < UnitCount; ++u) state.statRows[LevelRow][u] = 99;
  for (int k = 0; k < ItemCounterCount; ++k) state.counters[k] = 0;
  state.statRows[EndFlagRow][3] = 0;
  const Bytes edited = Stored(original, state);
  EXPECT_EQ(edited, ReadBytes(a));

  struct Case {
    std::string doc, path;  // a document, or KEY=VALUE arguments of set
  } refused[] = {
      {R"({"units": [{"unit": 9, "x": 10}]})", "units[0].x"},
      {R"({"turnCount": 1, "items": [{"index": 0, "count": 100}]})", "items[0].count"},
      {R"({"smallValues": [4, 0, 1]})", "smallValues[0]"},
      {R"({"units": [{"unit": 0}, {"unit": 50}]})", "units[1].unit"},
      {R"({"monsters": [{"index": 1}, {"index": 1}]})", "monsters[1]"},
      {R"({"units": [{"unit": 0, "lvl": 5}]})", "units[0].lvl"},
      {R"({"format": "asd-values/1", "turnCount": "7"})", "turnCount"},
      {R"({"units": [{"unit": 2, "ended": 1}]})", "units[0].ended"},
      {R"({"format": "asd-values/2"})", "format"},
      {"{\n  \"turnCount\": 1,\n}", "line 3, column 1"},
      {"units.0.level=1 units.4.y=5", "units[4].y"},
      {"units.0.level=1 units.50.x=1", "units.50.x"},
  };
  for (const Case& c : refused) {
    ASSERT_TRUE(WriteBytes(doc, Bytes(c.doc.begin(), c.doc.end())));
    EXPECT_EQ(6,
              Run(c.doc[0] == '{' ? "import " + Q(a) + " " + Q(doc) : "set " + Q(a) + " " + c.doc))
        << c.doc;
    EXPECT_NE(std::string::npos, err.find(c.path)) << c.doc << ": " << err;
    EXPECT_EQ(edited, ReadBytes(a)) << c.doc;
  }
  Bytes foreign = edited, cut = edited;
  foreign[100] ^= 1;
  cut.resize(ModelLength - 1);
  for (const auto& [bytes, code] : {std::make_pair(foreign, 3), std::make_pair(cut, 4)}) {
    ASSERT_TRUE(WriteBytes(b, bytes));
    EXPECT_EQ(code, Run("set " + Q(b) + " turnCount=1"));
    EXPECT_EQ(bytes, ReadBytes(b));
  }
}
