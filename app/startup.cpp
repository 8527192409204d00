// Start-up and the message loop.
#include "app/startup.h"

#include <cstdlib>

#include "app/cmdline.h"
#include "app/window.h"

HINSTANCE AppInstance = nullptr;

namespace {
FailedStartText Failed;  // what the program says of a failed start; nothing until AppStart
}  // namespace

void EndFailedStart(bool orderly) {
  const DWORD error = GetLastError();
  if (Failed.format)
    MessageBoxW(nullptr, ReasonText(Failed.format, error, Failed.unknown),
                ProgramText(Failed.caption), MB_OK | MB_ICONERROR);
  if (!orderly) ExitProcess(FailedStartExit);
  std::exit(FailedStartExit);
}

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

namespace {

// Without the code page of its texts the program can show no word of them:
// the user reads in English what to install. Windows XP installs it with its
// East Asian language support; later Windows always have it.
const wchar_t NoCodePageText[] =
    L"This program shows its texts in Japanese and needs code page 932 (Japanese, Shift-JIS), "
    L"which this Windows does not have.\n\n"
    L"On Windows XP, install it in Control Panel > Regional and Language Options > Languages > "
    L"\"Install files for East Asian languages\", then start the program again.";
const wchar_t NoCodePageCaption[] = L"Code page 932 is missing";

}  // namespace

int AppStart(HINSTANCE instance, HINSTANCE previous, const char* mainClassName,
             int (*entry)(int argc, char** argv), const FailedStartText& failed, UINT codePage) {
  if (!IsValidCodePage(codePage)) {
    MessageBoxW(nullptr, NoCodePageText, NoCodePageCaption, MB_OK | MB_ICONERROR);
    return NoCodePageExit;
  }
  AppInstance = instance;
  Failed = failed;
  SplitCommandLine();
  if (!previous) RegisterWindowClass(mainClassName);
  if (entry(ArgCount, ArgVector) < 0) return 0;
  return RunMessageLoop();
}
