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

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  std::FILE* layout = std::fopen(commandLine, "r");
  if (!layout) return 1;
  WNDCLASSA windowClass = {};
  windowClass.style = CS_CLASSDC | CS_BYTEALIGNCLIENT;
  windowClass.lpfnWndProc = FloorProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "StartFloor";
  RegisterClassA(&windowClass);

  std::vector<HWND> windows;
  std::vector<HFONT> fonts;
  std::vector<HMENU> menus;  // the bar, then the open popups
  char line[4096], kind[4], className[64], hex[2048], text[1024];
  while (std::fgets(line, sizeof line, layout)) {
    std::sscanf(line, "%3s", kind);
    if (std::strcmp(kind, "F") == 0) {
      LOGFONTA font = {};
      int height, width, charset, quality, pitch;
      std::sscanf(line, "F %d %d %d %d %d %2047s", &height, &width, &charset, &quality, &pitch,
                  hex);
      font.lfHeight = height;
      font.lfWidth = width;
      font.lfCharSet = static_cast<BYTE>(charset);
      font.lfQuality = static_cast<BYTE>(quality);
      font.lfPitchAndFamily = static_cast<BYTE>(pitch);
      Unhex(hex, font.lfFaceName);
      fonts.push_back(CreateFontIndirectA(&font));
    } else if (std::strcmp(kind, "M") == 0) {
      int depth;
      unsigned flags, id;
      std::sscanf(line, "M %d %u %u %2047s", &depth, &flags, &id, hex);
      Unhex(hex, text);
      if (menus.empty()) menus.push_back(CreateMenu());
      menus.resize(depth + 1);
      if (flags & MF_POPUP) {
        menus.push_back(CreatePopupMenu());
        AppendMenuA(menus[depth], flags, reinterpret_cast<UINT_PTR>(menus.back()), text);
      } else {
        AppendMenuA(menus[depth], flags, id, text);
      }
    } else if (std::strcmp(kind, "W") == 0) {
      int parent, owner, x, y, w, h, font;
      unsigned style, exStyle;
      std::sscanf(line, "W %d %d %63s %u %u %d %d %d %d %d %2047s", &parent, &owner, className,
                  &style, &exStyle, &x, &y, &w, &h, &font, hex);
      Unhex(hex + 1, text);  // the text follows a marker, so that it may be empty
      HWND window;
      if (parent < 0) {
        window = CreateWindowExA(exStyle, "StartFloor", text, style & ~WS_VISIBLE, CW_USEDEFAULT,
                                 CW_USEDEFAULT, w, h, owner < 0 ? nullptr : windows[owner],
                                 windows.empty() && !menus.empty() ? menus[0] : nullptr, instance,
                                 nullptr);
      } else {
        window = CreateWindowExA(exStyle, className, text, style, x, y, w, h, windows[parent],
                                 nullptr, instance, nullptr);
      }
      if (font >= 0) SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[font]), FALSE);
      windows.push_back(window);
    }
  }
  std::fclose(layout);
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
