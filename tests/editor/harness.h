// Helpers of the editor window tests: synthetic save files, a model of what
// the editor holds, a user at the platform's dialogs and message boxes, and
// the editor program run as its own process.
#ifndef ASDEDIT_TESTS_EDITOR_HARNESS_H
#define ASDEDIT_TESTS_EDITOR_HARNESS_H

#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "editor/savefile.h"
#include "support/winprocess.h"

typedef std::vector<unsigned char> Bytes;

const int OpenDialogFileField = 0x480;    // edt1 in Wine's dialog
const int OpenDialogFileCombo = 0x47c;    // cmb13 on newer Windows
const int MessageBoxTextId = 0xFFFF;
const int MessageBoxIconId = 0x440;
const int OpenDialogTypeList = 0x470;     // cmb1, the file types

// A save file of random bytes around the two records, SaveFileMinLength + 64 long.
Bytes SyntheticSave(unsigned seed);
// The 16-bit word at offset.
std::uint16_t WordAt(const Bytes& bytes, long offset);
void PutWord(Bytes& bytes, long offset, std::uint16_t value);
long CounterOffset(int counter);
long StatOffset(int row, int unit);

// The values a save file holds, as the editor keeps them (END? inverted).
GameStateData StateOf(const Bytes& bytes);
// The file after a store of state over it.
Bytes Stored(Bytes bytes, const GameStateData& state);
// What showing brings into range: the top fields, the counters, and the
// fields of unit when given (a selected unit).
void ClampShown(GameStateData& state);
void ClampUnit(GameStateData& state, int unit);

std::string WindowText(HWND window);  // by WM_GETTEXT, so across processes too
std::string Hex(const std::string& bytes);
// A control's rectangle in its parent's client area: x, y, width, height.
std::vector<long> Placement(HWND control);

// A visible #32770 window owned by owner, or null.
HWND FindOwnedDialog(HWND owner);
HWND WaitForOwnedDialog(HWND owner, DWORD timeoutMs);

// What a user does at the next dialog: type path into an open dialog's
// file-name field (when not empty), then press the button.
struct DialogStep {
  int button;
  std::string path;
};

// What the user saw of a dialog.
struct SeenDialog {
  std::string caption;
  std::string text;  // a message box's text
  HICON icon;        // a message box's icon, null when it shows none
  std::vector<std::string> fileTypes;  // an open dialog's file types
  bool buttons[12];  // which of the ids IDOK .. IDCONTINUE it offers
  bool expected;     // false: no step was left for it, so it was dismissed
  bool closed;       // it went away after the press
};

// Handles one dialog that is already on the screen.
SeenDialog HandleDialog(HWND dialog, const DialogStep* step);

// A user on a helper thread, answering dialogs owned by owner with the steps
// in order, and dismissing any further one, until Finish.
struct DialogUser {
  DialogUser(HWND owner, std::vector<DialogStep> steps);
  ~DialogUser();
  std::vector<SeenDialog> Finish();

  HWND owner;
  std::vector<DialogStep> steps;
  std::vector<SeenDialog> seen;
  std::atomic<bool> stop{false};
  std::thread thread;
};

// The editor program, started as its own process, and its main window.
struct EditorProcess {
  PROCESS_INFORMATION process = {};
  HWND main = nullptr;
};

// Starts the editor; true once its main window shows.
bool StartEditor(EditorProcess& editor);
// Waits until the editor has handled what was sent or posted to it before.
void Settle(const EditorProcess& editor);
// Chooses "開く(&O)..." and picks path in the open dialog; true once the
// editor shows the file.
bool OpenInEditor(const EditorProcess& editor, const std::string& path);
// Chooses "上書き保存(&S)..."; true when it ended without a message box (one
// that showed is dismissed).
bool SaveInEditor(const EditorProcess& editor);
// Chooses "終了(&E)" and answers Yes: the exit code, or STILL_ACTIVE when no
// question came or the editor had to be ended.
DWORD ExitEditor(EditorProcess& editor);

// A test with the editor program running, ended afterwards if the test did not.
class EditorProgramTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(StartEditor(editor)); }
  void TearDown() override {
    if (editor.process.hProcess) ExitEditor(editor);
  }
  EditorProcess editor;
};

#endif
