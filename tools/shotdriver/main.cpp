// shotdriver: drives a running editor the way a user would, for screenshots.
//   shotdriver open PATH        choose "開く(&O)..." and open PATH in the dialog
//   shotdriver command ID       send the main window the menu command or unit button ID
//   shotdriver place CLASS X Y  move the window of CLASS to X, Y; print "X Y W H"
//   shotdriver close            close the main window
// Exit code 0 on success, 1 on bad arguments, 2 when a window did not appear.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tools/windriver/windriver.h"

namespace {

const DWORD WaitLimit = 10000;  // milliseconds
const char MainClass[] = "MorWin0";

// Lets window's thread finish what it was sent and paint itself.
void Settle(HWND window) {
  DWORD_PTR result;
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, WaitLimit, &result);
}

int Fail(const char* what) {
  (void)std::fprintf(stderr, "shotdriver: %s\n", what);  // nothing more to tell if this fails
  return 2;
}

int Open(const char* path) {
  HWND main = WaitForWindow(MainClass);
  if (!main) return Fail("no editor window");
  std::string before = WindowText(main);
  // The command runs the modal open dialog, so it is posted, not sent.
  Answering(
      main, {{IDOK, path}}, [&] { PostMessageA(main, WM_COMMAND, 1, 0); }, 1);
  // A successful open puts the path into the title.
  for (DWORD waited = 0; waited < WaitLimit; waited += 20, Sleep(20)) {
    if (WindowText(main) != before) {
      Settle(main);
      return 0;
    }
  }
  return Fail("the file did not open");
}

int Command(int id) {
  HWND main = WaitForWindow(MainClass);
  if (!main) return Fail("no editor window");
  DWORD_PTR result;
  SendMessageTimeoutA(main, WM_COMMAND, static_cast<WPARAM>(id), 0, SMTO_BLOCK, WaitLimit, &result);
  Settle(main);
  return 0;
}

int Place(const char* className, int x, int y) {
  HWND window = WaitForWindow(className);
  if (!window) return Fail("no such window");
  SetWindowPos(window, HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  Settle(window);
  RECT r;
  GetWindowRect(window, &r);
  return std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top) > 0
             ? 0
             : Fail("cannot write the window's place");
}

int Close() {
  HWND main = FindShownWindow(MainClass);
  if (main) PostMessageA(main, WM_CLOSE, 0, 0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "open") == 0) return Open(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "command") == 0) return Command(std::atoi(argv[2]));
  if (argc == 5 && std::strcmp(argv[1], "place") == 0)
    return Place(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
  if (argc == 2 && std::strcmp(argv[1], "close") == 0) return Close();
  (void)std::fputs("usage: shotdriver open PATH | command ID | place CLASS X Y | close\n", stderr);
  return 1;
}
