// The editor program from outside: started as its own process, opened,
// edited, saved and ended the way a user does it, then the file compared.
#include <gtest/gtest.h>

#include <string>

#include "editor/harness.h"
#include "support/testsupport.h"

namespace {

// A running editor and its two windows.
struct Editor {
  PROCESS_INFORMATION process = {};
  HWND main = nullptr;
  HWND items = nullptr;
};

struct WindowSearch {
  DWORD processId;
  const char* className;
  HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM data) {
  WindowSearch* search = reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (owner != search->processId || std::string(name) != search->className) return TRUE;
  search->found = window;
  return FALSE;
}

// The window of the given class that belongs to the process, or null.
HWND FindProcessWindow(DWORD processId, const char* className) {
  WindowSearch search = {processId, className, nullptr};
  EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Starts the editor and waits for its main window to show.
bool Start(Editor& editor) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  std::string command = std::string("\"") + ASDEDIT_PATH + "\"";
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &editor.process))
    return false;
  for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(10)) {
    editor.main = FindProcessWindow(editor.process.dwProcessId, "MorWin0");
    if (editor.main && IsWindowVisible(editor.main)) break;
  }
  editor.items = FindProcessWindow(editor.process.dwProcessId, "MorWin1");
  return editor.main && editor.items;
}

// Waits until the editor has handled what was sent or posted to it before.
void Settle(const Editor& editor) {
  DWORD_PTR result;
  SendMessageTimeoutA(editor.main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
}

// Chooses "開く(&O)..." and picks path in the open dialog; true once the
// editor shows the file.
bool Open(const Editor& editor, const std::string& path) {
  PostMessageA(editor.main, WM_COMMAND, 1, 0);
  HWND dialog = WaitForOwnedDialog(editor.main, 10000);
  if (!dialog) return false;
  Sleep(20);
  DialogStep step = {IDOK, path};
  if (!HandleDialog(dialog, &step).closed) return false;
  // The title changes in the middle of the command; the rest of it runs
  // before the editor takes the next message.
  std::string title = "モルダン・ピクセリオン - Save Editor ver 0.5 (" + path + ")";
  char shown[512];
  for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(5)) {
    GetWindowTextA(editor.main, shown, sizeof shown);
    if (title == shown) {
      Settle(editor);
      return true;
    }
  }
  return false;
}

// Chooses "上書き保存(&S)..."; true when it ended without a message box.
bool Save(const Editor& editor) {
  DWORD_PTR result;
  LRESULT done = SendMessageTimeoutA(editor.main, WM_COMMAND, 2, 0, SMTO_NORMAL, 5000, &result);
  return done != 0 && FindOwnedDialog(editor.main) == nullptr;
}

// Chooses "終了(&E)", answers Yes and returns the editor's exit code.
DWORD Exit(Editor& editor) {
  PostMessageA(editor.main, WM_COMMAND, 4, 0);
  DWORD code = 0xDEAD;
  if (HWND box = WaitForOwnedDialog(editor.main, 10000)) {
    Sleep(20);
    DialogStep yes = {IDYES, ""};
    HandleDialog(box, &yes);
    if (WaitForSingleObject(editor.process.hProcess, 10000) == WAIT_OBJECT_0)
      GetExitCodeProcess(editor.process.hProcess, &code);
  }
  if (code == 0xDEAD) TerminateProcess(editor.process.hProcess, 1);
  CloseHandle(editor.process.hThread);
  CloseHandle(editor.process.hProcess);
  return code;
}

void SetText(HWND window, int id, const char* text) {
  SendMessageA(GetDlgItem(window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void Click(HWND window, int id) { SendMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0); }

// Selects unit on the main window; the model clamps what the selection shows.
void Select(const Editor& editor, GameStateData& model, int unit) {
  Click(editor.main, 33 + unit);
  ClampUnit(model, unit);
}

}  // namespace

TEST(EditorProgram, SavesTheEditsOfHeroesEnemiesAndCounters) {
  std::string path = ScratchDir() + "campaign.asd";
  Bytes original = SyntheticSave(21);
  PutWord(original, StatOffset(0, 0), 0);  // raised to 1 when unit 0 shows on opening
  PutWord(original, StatOffset(15, 20), 1);
  ASSERT_TRUE(WriteFileBytes(path, original));
  GameStateData model = StateOf(original);

  Editor editor;
  ASSERT_TRUE(Start(editor));
  ASSERT_TRUE(Open(editor, path));
  ClampShown(model);
  ClampUnit(model, 0);

  SetText(editor.main, 12, "2024");
  model.turnCount = 2024;
  SetText(editor.main, 14, "2");
  model.smallValues[1] = 2;

  Select(editor, model, 2);  // a hero
  SetText(editor.main, 16, "35");
  model.statRows[0][2] = 35;
  SetText(editor.main, 20, "480");
  model.statRows[4][2] = 480;
  SetText(editor.main, 29, "7");
  model.statRows[13][2] = 4;

  Select(editor, model, 20);  // an enemy
  SetText(editor.main, 22, "9999");
  model.statRows[6][20] = 9999;
  Click(editor.main, 31);
  model.statRows[15][20] = 1;  // stored as 0 in the file, so shown unticked

  Select(editor, model, 49);
  SetText(editor.main, 28, "3");
  model.statRows[12][49] = 3;
  SetText(editor.main, 30, "65535");
  model.statRows[14][49] = 65535;

  Select(editor, model, 2);
  SetText(editor.main, 17, "6");
  model.statRows[1][2] = 6;

  SendMessageA(editor.main, WM_COMMAND, 7, 0);
  EXPECT_TRUE(IsWindowVisible(editor.items));
  SetText(editor.items, 1, "12");
  model.counters[0] = 12;
  SetText(editor.items, 42, "0");
  model.counters[41] = 0;
  SetText(editor.items, 43, "98");
  model.counters[42] = 98;
  SetText(editor.items, 54, "150");
  model.counters[53] = 99;

  EXPECT_TRUE(Save(editor));
  EXPECT_EQ(0u, Exit(editor));
  Bytes saved = ReadFileBytes(path);
  EXPECT_EQ(Stored(original, model), saved);
  EXPECT_EQ(2024, WordAt(saved, 364));
  EXPECT_EQ(0, WordAt(saved, StatOffset(15, 20)));
  EXPECT_EQ(99, WordAt(saved, CounterOffset(53)));
}

TEST(EditorProgram, FillButtonSavesNinetyNineInEveryCounter) {
  std::string path = ScratchDir() + "campaign.asd";
  Bytes original = SyntheticSave(22);
  ASSERT_TRUE(WriteFileBytes(path, original));
  GameStateData model = StateOf(original);

  Editor editor;
  ASSERT_TRUE(Start(editor));
  ASSERT_TRUE(Open(editor, path));
  ClampShown(model);
  ClampUnit(model, 0);

  SendMessageA(editor.main, WM_COMMAND, 7, 0);
  Click(editor.items, 57);
  for (std::uint16_t& counter : model.counters) counter = 99;

  EXPECT_TRUE(Save(editor));
  EXPECT_EQ(0u, Exit(editor));
  EXPECT_EQ(Stored(original, model), ReadFileBytes(path));
}
