// The floor for the editor's start-up: a program that creates the same
// top-level windows with the same menu and the same child controls (classes,
// styles, places, texts, fonts) as the editor, read from a layout that
// unitswitch_bench writes from a real editor, each with one plain
// CreateWindowExA and WM_SETFONT, and shows the main window.
//   startfloor LAYOUT
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

// Decodes a hex-encoded text of the layout into out.
void Unhex(const char* hex, char* out) {
  unsigned byte;
  for (; std::sscanf(hex, "%2x", &byte) == 1; hex += 2) *out++ = static_cast<char>(byte);
  *out = '\0';
}

// What the layout has made so far.
struct Floor {
  HINSTANCE instance;
  std::vector<HWND> windows;
  std::vector<HFONT> fonts;
  std::vector<HMENU> menus;  // the bar, then the open popups
};

// "F height width charset quality pitch face": a font.
bool ReplayFont(const char* line, Floor& floor) {
  LOGFONTA font = {};
  int height, width, charset, quality, pitch;
  char hex[2048];
  if (std::sscanf(line, "F %d %d %d %d %d %2047s", &height, &width, &charset, &quality, &pitch,
                  hex) != 6)
    return false;
  font.lfHeight = height;
  font.lfWidth = width;
  font.lfCharSet = static_cast<BYTE>(charset);
  font.lfQuality = static_cast<BYTE>(quality);
  font.lfPitchAndFamily = static_cast<BYTE>(pitch);
  Unhex(hex, font.lfFaceName);
  floor.fonts.push_back(CreateFontIndirectA(&font));
  return true;
}

// "M depth flags id text": a menu row.
bool ReplayMenu(const char* line, Floor& floor) {
  int depth;
  unsigned flags, id;
  char hex[2048], text[1024];
  if (std::sscanf(line, "M %d %u %u %2047s", &depth, &flags, &id, hex) != 4) return false;
  Unhex(hex, text);
  std::vector<HMENU>& menus = floor.menus;
  if (menus.empty()) menus.push_back(CreateMenu());
  menus.resize(depth + 1);
  if (flags & MF_POPUP) {
    menus.push_back(CreatePopupMenu());
    AppendMenuA(menus[depth], flags, reinterpret_cast<UINT_PTR>(menus.back()), text);
  } else {
    AppendMenuA(menus[depth], flags, id, text);
  }
  return true;
}

// "W parent owner class style exStyle x y w h font text": a window.
bool ReplayWindow(const char* line, Floor& floor) {
  int parent, owner, x, y, w, h, font;
  unsigned style, exStyle;
  char className[64], hex[2048], text[1024];
  if (std::sscanf(line, "W %d %d %63s %u %u %d %d %d %d %d %2047s", &parent, &owner, className,
                  &style, &exStyle, &x, &y, &w, &h, &font, hex) != 11)
    return false;
  Unhex(hex + 1, text);  // the text follows a marker, so that it may be empty
  std::vector<HWND>& windows = floor.windows;
  HWND window;
  if (parent < 0) {
    HMENU menu = windows.empty() && !floor.menus.empty() ? floor.menus[0] : nullptr;
    window = CreateWindowExA(exStyle, "StartFloor", text, style & ~WS_VISIBLE, CW_USEDEFAULT,
                             CW_USEDEFAULT, w, h, owner < 0 ? nullptr : windows[owner], menu,
                             floor.instance, nullptr);
  } else {
    window = CreateWindowExA(exStyle, className, text, style, x, y, w, h, windows[parent], nullptr,
                             floor.instance, nullptr);
  }
  if (font >= 0)
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(floor.fonts[font]), FALSE);
  windows.push_back(window);
  return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int) {
  std::FILE* layout = std::fopen(lpCmdLine, "r");
  if (!layout) return 1;
  WNDCLASSA windowClass = {};
  windowClass.style = CS_CLASSDC | CS_BYTEALIGNCLIENT;
  windowClass.lpfnWndProc = FloorProc;
  windowClass.hInstance = hInstance;
  windowClass.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "StartFloor";
  RegisterClassA(&windowClass);

  Floor floor = {hInstance, {}, {}, {}};
  char line[4096];
  bool ok = true;
  while (ok && std::fgets(line, sizeof line, layout)) {
    if (line[0] == 'F') ok = ReplayFont(line, floor);
    if (line[0] == 'M') ok = ReplayMenu(line, floor);
    if (line[0] == 'W') ok = ReplayWindow(line, floor);
  }
  (void)std::fclose(layout);  // only read
  std::vector<HWND>& windows = floor.windows;
  if (!ok) return 1;
  if (windows.empty()) return 1;
  ShowWindow(windows[0], SW_SHOW);
  UpdateWindow(windows[0]);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
