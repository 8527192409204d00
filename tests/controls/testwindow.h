// A parent window for the toolkit's tests. Like the editor's windows, it
// hands every notification of a control to CommitBoundControl.
#ifndef ASDEDIT_TESTS_CONTROLS_TESTWINDOW_H
#define ASDEDIT_TESTS_CONTROLS_TESTWINDOW_H

#include <windows.h>

#include <string>
#include <vector>

// One notification as it reached the parent, before it was committed: the
// control's text and its bound variable's value at that moment.
struct Notice {
  HWND control;
  std::string text;
  long value;  // NoValue when the control has no record or no variable
};
const long NoValue = -999999;

extern std::vector<Notice> Notices;
extern bool CommitNotifications;  // true: notifications go to CommitBoundControl

// A hidden top-level window of the test class, created with instance.
HWND CreateTestParent(HINSTANCE instance = GetModuleHandleA(nullptr));

std::string TextOf(HWND window);

// Number of groups in the registry.
int CountGroups();

// What one text set into a field gave: the state the first commit left
// (as the next notification saw it) and the state once everything settled.
struct Typed {
  long firstValue;
  std::string firstText;
  long value;
  std::string text;
};
Typed TypeText(HWND parent, HWND field, const char* text);

#endif
