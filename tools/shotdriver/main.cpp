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

namespace {

const DWORD WaitLimit = 10000;  // milliseconds
const DWORD PollStep = 20;

// The visible top-level window of a class, waiting for it to appear.
HWND WaitForWindow(const char* className) {
  for (DWORD waited = 0; waited < WaitLimit; waited += PollStep) {
    HWND window = FindWindowA(className, nullptr);
    if (window && IsWindowVisible(window)) return window;
    Sleep(PollStep);
  }
  return nullptr;
}

struct DialogSearch {
  HWND owner;
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
  DialogSearch* search = reinterpret_cast<DialogSearch*>(param);
  char className[16];
  GetClassNameA(window, className, sizeof className);
  if (std::strcmp(className, "#32770") == 0 && GetWindow(window, GW_OWNER) == search->owner &&
      IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// The dialog that owner has opened, waiting for it to appear.
HWND WaitForDialog(HWND owner) {
  for (DWORD waited = 0; waited < WaitLimit; waited += PollStep) {
    DialogSearch search = {owner, nullptr};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(PollStep);
  }
  return nullptr;
}

// Lets window's thread finish what it was sent and paint itself.
void Settle(HWND window) {
  DWORD_PTR result;
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, WaitLimit, &result);
}

int Fail(const char* what) {
  std::fprintf(stderr, "shotdriver: %s\n", what);
  return 2;
}

int Open(const char* path) {
  HWND main = WaitForWindow("MorWin0");
  if (!main) return Fail("no editor window");
  char before[512];
  GetWindowTextA(main, before, sizeof before);
  // The command runs the modal open dialog, so it is posted, not sent.
  PostMessageA(main, WM_COMMAND, 1, 0);
  HWND dialog = WaitForDialog(main);
  if (!dialog) return Fail("no open dialog");
  HWND name = GetDlgItem(dialog, 0x480);        // edt1
  if (!name) name = GetDlgItem(dialog, 0x47c);  // cmb13
  if (!name) return Fail("no file name field in the open dialog");
  SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  // A successful open puts the path into the title.
  for (DWORD waited = 0; waited < WaitLimit; waited += PollStep) {
    char title[512];
    GetWindowTextA(main, title, sizeof title);
    if (!IsWindow(dialog) && std::strcmp(title, before) != 0) {
      Settle(main);
      return 0;
    }
    Sleep(PollStep);
  }
  return Fail("the file did not open");
}

int Command(int id) {
  HWND main = WaitForWindow("MorWin0");
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
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  return 0;
}

int Close() {
  HWND main = FindWindowA("MorWin0", nullptr);
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
  std::fputs("usage: shotdriver open PATH | command ID | place CLASS X Y | close\n", stderr);
  return 1;
}
