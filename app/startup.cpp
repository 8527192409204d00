// Start-up and the message loop.
#include "app/startup.h"

#include "app/cmdline.h"
#include "app/window.h"

HINSTANCE AppInstance = nullptr;

int RunMessageLoop() {
  MSG msg = {};
  // GetMessageW gives -1 only for a bad window filter, and there is none. The
  // wide loop hands typed characters on as UTF-16, whatever the code page.
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

int AppStart(HINSTANCE instance, HINSTANCE previous, const char* mainClassName,
             int (*entry)(int argc, char** argv)) {
  AppInstance = instance;
  SplitCommandLine();
  if (!previous) RegisterWindowClass(mainClassName);
  if (entry(ArgCount, ArgVector) < 0) return 0;
  return RunMessageLoop();
}
