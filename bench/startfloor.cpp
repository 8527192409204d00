// The floor for the editor's start-up: a program that creates the same
// top-level windows with the same menu and the same child controls (classes,
// styles, places, texts, fonts) as the editor, read from a layout that
// unitswitch_bench writes from a real editor (bench/layout.h), each with one
// plain CreateWindowExW and WM_SETFONT, and shows the main window. Like the
// editor, it hands every text to the platform in UTF-16 and runs a wide
// message loop.
//   startfloor LAYOUT
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/layout.h"

namespace {

const wchar_t FloorClassName[] = L"StartFloor";

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

// What the layout has made so far.
struct Floor {
  HINSTANCE instance;
  std::vector<HWND> windows;
  std::vector<HFONT> fonts;
  std::vector<HMENU> menus;  // the bar, then the open popups
};

// Longest word of a layout line, with its terminator.
const int WordSize = 4096;

// "F height width charset quality pitch face": a font.
bool ReplayFont(const char* line, Floor& floor) {
  LOGFONTW font = {};
  int height, width, charset, quality, pitch;
  char word[WordSize];
  std::wstring face;
  if (std::sscanf(line, "F %d %d %d %d %d %4095s", &height, &width, &charset, &quality, &pitch,
                  word) != 6 ||
      !LayoutText(word, face) || face.size() >= LF_FACESIZE)
    return false;
  font.lfHeight = height;
  font.lfWidth = width;
  font.lfCharSet = static_cast<BYTE>(charset);
  font.lfQuality = static_cast<BYTE>(quality);
  font.lfPitchAndFamily = static_cast<BYTE>(pitch);
  face.copy(font.lfFaceName, face.size());
  floor.fonts.push_back(CreateFontIndirectW(&font));
  return true;
}

// "M depth flags id text": a menu row.
bool ReplayMenu(const char* line, Floor& floor) {
  int depth;
  unsigned flags, id;
  char word[WordSize];
  std::wstring text;
  if (std::sscanf(line, "M %d %u %u %4095s", &depth, &flags, &id, word) != 4 ||
      !LayoutText(word, text) || depth < 0 || depth > static_cast<int>(floor.menus.size()))
    return false;
  std::vector<HMENU>& menus = floor.menus;
  if (menus.empty()) menus.push_back(CreateMenu());
  menus.resize(depth + 1);
  UINT_PTR item = id;
  if (flags & MF_POPUP) {
    menus.push_back(CreatePopupMenu());
    item = reinterpret_cast<UINT_PTR>(menus.back());
  }
  AppendMenuW(menus[depth], flags, item, text.c_str());
  return true;
}

// "W parent owner class style exStyle x y w h font text": a window.
bool ReplayWindow(const char* line, Floor& floor) {
  int parent, owner, x, y, w, h, font;
  unsigned style, exStyle;
  char className[64], word[WordSize];
  std::wstring text;
  std::vector<HWND>& windows = floor.windows;
  const int count = static_cast<int>(windows.size());
  if (std::sscanf(line, "W %d %d %63s %u %u %d %d %d %d %d %4095s", &parent, &owner, className,
                  &style, &exStyle, &x, &y, &w, &h, &font, word) != 11 ||
      !LayoutText(word, text) || parent >= count || owner >= count ||
      font >= static_cast<int>(floor.fonts.size()))
    return false;
  HWND window;
  if (parent < 0) {
    HMENU menu = windows.empty() && !floor.menus.empty() ? floor.menus[0] : nullptr;
    window = CreateWindowExW(exStyle, FloorClassName, text.c_str(), style & ~WS_VISIBLE,
                             CW_USEDEFAULT, CW_USEDEFAULT, w, h,
                             owner < 0 ? nullptr : windows[owner], menu, floor.instance, nullptr);
  } else {
    wchar_t wideClass[64];
    MultiByteToWideChar(CP_ACP, 0, className, -1, wideClass, 64);  // an ASCII name
    window = CreateWindowExW(exStyle, wideClass, text.c_str(), style, x, y, w, h, windows[parent],
                             nullptr, floor.instance, nullptr);
  }
  if (!window) return false;
  if (font >= 0)
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(floor.fonts[font]), FALSE);
  windows.push_back(window);
  return true;
}

// Replays the layout in the file at path; false when it cannot be read or a
// line of it is no layout line.
bool Replay(const wchar_t* path, Floor& floor) {
  std::FILE* layout = _wfopen(path, L"r");
  if (!layout) return false;
  static char line[2 * WordSize];
  bool ok = true;
  while (ok && std::fgets(line, sizeof line, layout)) {
    if (line[0] == 'F') ok = ReplayFont(line, floor);
    if (line[0] == 'M') ok = ReplayMenu(line, floor);
    if (line[0] == 'W') ok = ReplayWindow(line, floor);
  }
  (void)std::fclose(layout);  // only read
  return ok && !floor.windows.empty();
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc != 2) return 2;
  WNDCLASSW windowClass = {};
  windowClass.style = CS_CLASSDC | CS_BYTEALIGNCLIENT;
  windowClass.lpfnWndProc = FloorProc;
  windowClass.hInstance = hInstance;
  windowClass.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = FloorClassName;
  RegisterClassW(&windowClass);

  Floor floor = {hInstance, {}, {}, {}};
  bool replayed = Replay(argv[1], floor);
  LocalFree(argv);
  if (!replayed) return 1;
  ShowWindow(floor.windows[0], SW_SHOW);
  UpdateWindow(floor.windows[0]);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
