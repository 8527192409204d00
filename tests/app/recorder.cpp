#include "app/recorder.h"

#include "app/startup.h"

#include <cstdio>
#include <cstdlib>

LRESULT Recorder::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  received.push_back(Received{message, wParam, lParam, hwnd});
  if (message == WM_CREATE && createResult) return createResult;
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool Recorder::Got(UINT message) const {
  for (const Received& r : received)
    if (r.message == message) return true;
  return false;
}

const char* TestWindowClass() {
  static bool registered = false;
  AppInstance = GetModuleHandleA(nullptr);
  if (!registered) {
    WNDCLASSA record = {};
    record.lpfnWndProc = WndProc;
    record.cbWndExtra = sizeof(Window*);
    record.hInstance = AppInstance;
    record.lpszClassName = "ShellTestWin";
    registered = RegisterClassA(&record) != 0;
  }
  return "ShellTestWin";
}

int CloseAndRun(HWND window) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  return RunMessageLoop();
}

void SayOnOrderlyExit() {
  std::atexit([] { std::fputs("orderly exit\n", stderr); });
}
