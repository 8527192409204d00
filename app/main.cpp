// The program's entry points.
#include "app/menu.h"
#include "app/startup.h"
#include "app/window.h"
#include "editor/main_window.h"

#include <cstdlib>
#include <new>

namespace {

// Stand-in for the editor's main window until it is built: the same class,
// title, styles, menu bar and client size, and no controls.
class StartWindow : public Window {
public:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
};

const MenuRow StartMenu[] = {
    {"ﾌｧｲﾙ(&F)", MF_POPUP},
    {"終了(&E)", MF_GRAYED | MenuLevelEnd},
    {"ヘルプ(&H)", MF_POPUP | MenuLevelEnd},
    {"ﾊﾞｰｼﾞｮﾝ情報(&V)", MF_GRAYED | MenuLevelEnd},
};

}  // namespace

int AppMain(int, char**) {
  new MorWin0();
  return 0;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int) {
  return AppStart(instance, previous, AppMain);
}

// The allocation operator of the program: out of memory ends the program
// abnormally, as an uncaught out-of-memory exception would, without pulling
// the C++ runtime's exception machinery (some 140 KB) into the program.
void* operator new(std::size_t size) {
  void* block = std::malloc(size ? size : 1);
  if (!block) std::abort();
  return block;
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
