// A window object for the tests that records every message it receives.
#ifndef ASDEDIT_TESTS_SHELL_RECORDER_H
#define ASDEDIT_TESTS_SHELL_RECORDER_H

#include "app/window.h"

#include <vector>

struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  HWND self;  // the object's handle when the message arrived
};

class Recorder : public Window {
public:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool Got(UINT message) const;

  std::vector<Received> received;
  LRESULT createResult = 0;  // -1 refuses the window
};

// A class of object windows for the tests ("ShellTestWin"), registered once;
// also sets AppInstance to this program.
const char* TestWindowClass();

// Closes window and runs the message loop until the quit its destruction posts.
int CloseAndRun(HWND window);

// Writes a line from an exit handler, so death tests can tell exit() from ExitProcess().
void SayOnOrderlyExit();

#endif
