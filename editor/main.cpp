// The program's entry points.
#include <cstdlib>
#include <new>

#include "app/startup.h"
#include "editor/main_window.h"
#include "editor/texts.h"

// The application entry: the main window, which lives until the process
// ends, with the file named by the first argument after the program's path
// open in it (Explorer's "Open with" and a drop on the program's icon name it
// so too).
int AppMain(int argc, char** argv) {
  MorWin0* window = new MorWin0();
  if (argc > 1) OpenNamedFile(window, argv[1]);
  return 0;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR, int) {
  return AppStart(hInstance, hPrevInstance, MainWindowClassName, AppMain,
                  {FailedStartFormat, ErrorCaption, SystemErrorFormat});
}

// The allocation operator of the program: out of memory ends the program
// abnormally, as an uncaught out-of-memory exception would, without pulling
// the C++ runtime's exception machinery into the program.
void* operator new(std::size_t size) {
  void* block = std::malloc(size ? size : 1);
  if (!block) std::abort();
  return block;
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
