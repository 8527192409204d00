// Helpers of the editor window tests: synthetic save files, a model of what
// the editor holds, and a user at the platform's dialogs and message boxes.
#ifndef ASDEDIT_TESTS_EDITOR_HARNESS_H
#define ASDEDIT_TESTS_EDITOR_HARNESS_H

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "editor/savefile.h"

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

#endif
