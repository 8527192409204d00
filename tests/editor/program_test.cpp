// The editor program from outside: started as its own process, opened,
// edited, saved and ended the way a user does it, then the file compared.
#include <gtest/gtest.h>

#include <string>

#include "editor/harness.h"
#include "support/testsupport.h"

namespace {

class EditorProgram : public EditorProgramTest {
protected:
  // Writes bytes to a scratch file and opens it; model holds what the editor then shows.
  void OpenNew(const Bytes& bytes) {
    original = bytes;
    path = ScratchDir() + "campaign.asd";
    ASSERT_TRUE(WriteFileBytes(path, original));
    ASSERT_TRUE(OpenInEditor(editor, path)) << WindowText(editor.main);
    model = StateOf(original);
    ClampShown(model);
    ClampUnit(model, 0);
  }

  // Chooses "アイテム(&I)", which shows the item window.
  void ShowItems() {
    SendMessageA(editor.main, WM_COMMAND, 7, 0);
    items = FindProcessWindow(editor.process.dwProcessId, "MorWin1");
    ASSERT_NE(nullptr, items) << "no item window shown";
  }

  // Selects unit on the main window; the model clamps what the selection shows.
  void Select(int unit) {
    Click(editor.main, 33 + unit);
    ClampUnit(model, unit);
  }

  static void SetText(HWND window, int id, const char* text) {
    SendMessageA(GetDlgItem(window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  static void Click(HWND window, int id) { SendMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0); }

  std::string path;
  Bytes original;
  GameStateData model;
  HWND items = nullptr;
};

}  // namespace

TEST_F(EditorProgram, SavesTheEditsOfHeroesEnemiesAndCounters) {
  Bytes bytes = SyntheticSave(21);
  PutWord(bytes, StatOffset(0, 0), 0);  // raised to 1 when unit 0 shows on opening
  PutWord(bytes, StatOffset(15, 20), 1);
  ASSERT_NO_FATAL_FAILURE(OpenNew(bytes));

  SetText(editor.main, 12, "2024");
  model.turnCount = 2024;
  SetText(editor.main, 14, "2");
  model.smallValues[1] = 2;

  Select(2);  // a hero
  SetText(editor.main, 16, "35");
  model.statRows[0][2] = 35;
  SetText(editor.main, 20, "480");
  model.statRows[4][2] = 480;
  SetText(editor.main, 29, "7");
  model.statRows[13][2] = 4;

  Select(20);  // an enemy
  SetText(editor.main, 22, "9999");
  model.statRows[6][20] = 9999;
  Click(editor.main, 31);
  model.statRows[15][20] = 1;  // stored as 0 in the file, so shown unticked

  Select(49);
  SetText(editor.main, 28, "3");
  model.statRows[12][49] = 3;
  SetText(editor.main, 30, "65535");
  model.statRows[14][49] = 65535;

  Select(2);
  SetText(editor.main, 17, "6");
  model.statRows[1][2] = 6;

  ASSERT_NO_FATAL_FAILURE(ShowItems());
  SetText(items, 1, "12");
  model.counters[0] = 12;
  SetText(items, 42, "0");
  model.counters[41] = 0;
  SetText(items, 43, "98");
  model.counters[42] = 98;
  SetText(items, 54, "150");
  model.counters[53] = 99;

  EXPECT_TRUE(SaveInEditor(editor));
  EXPECT_EQ(0u, ExitEditor(editor));
  Bytes saved = ReadFileBytes(path);
  EXPECT_EQ(Stored(original, model), saved);
  EXPECT_EQ(2024, WordAt(saved, 364));
  EXPECT_EQ(0, WordAt(saved, StatOffset(15, 20)));
  EXPECT_EQ(99, WordAt(saved, CounterOffset(53)));
}

TEST_F(EditorProgram, FillButtonSavesNinetyNineInEveryCounter) {
  ASSERT_NO_FATAL_FAILURE(OpenNew(SyntheticSave(22)));
  ASSERT_NO_FATAL_FAILURE(ShowItems());
  Click(items, 57);
  for (std::uint16_t& counter : model.counters) counter = 99;

  EXPECT_TRUE(SaveInEditor(editor));
  EXPECT_EQ(0u, ExitEditor(editor));
  EXPECT_EQ(Stored(original, model), ReadFileBytes(path));
}
