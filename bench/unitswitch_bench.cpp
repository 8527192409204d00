// unitswitch_bench: times a unit switch of the main window (select a unit and refresh, as a
// click on a unit button does) against the platform's floor: the same
// SetWindowTextA calls with the same texts on bare copies of the same
// controls in a window that does nothing with their notifications. Each is
// timed while its window is shown and the other one hidden, in turns.
//   unitswitch_bench layout FILE writes instead the layout of the editor's
//   windows just after start, for startfloor.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app/startup.h"
#include "app/window.h"
#include "controls/controls.h"
#include "editor/item_window.h"
#include "editor/main_window.h"
#include "editor/savefile.h"

namespace {

struct TextCall {
  HWND control;
  std::string text;
};
std::vector<TextCall> Recorded;

LRESULT CALLBACK RecordSetText(int code, WPARAM wParam, LPARAM lParam) {
  const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && call->message == WM_SETTEXT && call->lParam)
    Recorded.push_back({call->hwnd, reinterpret_cast<const char*>(call->lParam)});
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1e6 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Clicks every unit button once, in order.
void SwitchEveryUnit(HWND window) {
  for (int unit = 0; unit < UnitCount; ++unit)
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(33 + unit, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, 33 + unit)));
}

// A bare copy of control (class, styles, place, font) in parent.
HWND CopyControl(HWND control, HWND parent) {
  char className[64];
  GetClassNameA(control, className, sizeof className);
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  HWND copy = CreateWindowExA(static_cast<DWORD>(GetWindowLongA(control, GWL_EXSTYLE)), className,
                              "", static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)), rect.left,
                              rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                              nullptr, AppInstance, nullptr);
  SendMessageA(copy, WM_SETFONT, SendMessageA(control, WM_GETFONT, 0, 0), FALSE);
  return copy;
}

HWND FloorWindow() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = AppInstance;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "BenchFloor";
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, "BenchFloor", "floor", WS_OVERLAPPED | WS_SYSMENU, CW_USEDEFAULT, 0,
                         660, 540, nullptr, nullptr, AppInstance, nullptr);
}

bool MakeSave(const char* path) {
  std::vector<unsigned char> bytes(SaveFileMinLength);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i * 7 % 5);
  std::memcpy(&bytes[0], SaveHeaderText, SaveHeaderLength);
  std::memcpy(&bytes[96], SaveTitleText, SaveTitleLength);
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  bool ok = file != INVALID_HANDLE_VALUE &&
            WriteFile(file, bytes.data(), bytes.size(), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

// The layout, as startfloor reads it: fonts, menu rows and windows, texts in hex.
struct LayoutWriter {
  std::FILE* out;  // its write errors are checked once, when it is closed
  std::vector<HFONT> fonts;
  int windows = 0;

  std::string Hex(const char* text) {
    std::string hex = "x";
    char two[3];
    for (const char* c = text; *c; ++c) {
      (void)std::snprintf(two, sizeof two, "%02X", static_cast<unsigned char>(*c));  // fits
      hex += two;
    }
    return hex;
  }

  void Menu(HMENU menu, int depth) {
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
      MENUITEMINFOA item = {};
      item.cbSize = sizeof item;
      item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_ID;
      GetMenuItemInfoA(menu, i, TRUE, &item);
      char text[128] = "";
      GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
      unsigned flags = (item.hSubMenu ? MF_POPUP : 0) | (item.fState & MFS_GRAYED ? MF_GRAYED : 0) |
                       (item.fType & MFT_SEPARATOR ? MF_SEPARATOR : 0);
      (void)std::fprintf(out, "M %d %u %u %s\n", depth, flags, item.wID, Hex(text).c_str() + 1);
      if (item.hSubMenu) Menu(item.hSubMenu, depth + 1);
    }
  }

  int Font(HWND window) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    if (!font) return -1;
    for (std::size_t i = 0; i < fonts.size(); ++i)
      if (fonts[i] == font) return static_cast<int>(i);
    LOGFONTA f = {};
    GetObjectA(font, sizeof f, &f);
    (void)std::fprintf(out, "F %ld %ld %d %d %d %s\n", f.lfHeight, f.lfWidth, f.lfCharSet,
                       f.lfQuality, f.lfPitchAndFamily, Hex(f.lfFaceName).c_str() + 1);
    fonts.push_back(font);
    return static_cast<int>(fonts.size()) - 1;
  }

  // Writes window and then its children, in creation order; its index.
  int Window(HWND window, int parent, int owner) {
    char className[64], text[1024] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, text, sizeof text);
    RECT r;
    GetWindowRect(window, &r);
    if (parent >= 0) MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    int font = Font(window);
    (void)std::fprintf(out, "W %d %d %s %lu %lu %ld %ld %ld %ld %d %s\n", parent, owner, className,
                       static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)),
                       static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)), r.left,
                       r.top, r.right - r.left, r.bottom - r.top, font, Hex(text).c_str());
    int self = windows++;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      Window(child, self, -1);
    return self;
  }
};

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

}  // namespace

int main(int argc, char** argv) {
  AppInstance = GetModuleHandleA(nullptr);
  RegisterWindowClass(MainWindowClassName);
  MorWin0* editor = new MorWin0;
  HWND window = editor->hwnd;
  if (argc == 3 && std::strcmp(argv[1], "layout") == 0) {
    LayoutWriter layout;
    layout.out = std::fopen(argv[2], "w");
    if (!layout.out) return 1;
    layout.Menu(GetMenu(window), 0);
    int main = layout.Window(window, -1, -1);
    layout.Window(editor->itemWindow->hwnd, -1, main);
    // The writes into the layout are checked here, once.
    bool written = !std::ferror(layout.out);
    return std::fclose(layout.out) == 0 && written ? 0 : 1;
  }

  char path[MAX_PATH];
  GetTempPathA(MAX_PATH, path);
  lstrcatA(path, "asdedit-bench.asd");
  if (!MakeSave(path) || LoadSaveFile(path) != 0) return 1;
  DeleteFileA(path);
  EnableBoundControls(window, 1);
  SwitchEveryUnit(window);  // every value shown once: out-of-range ones are held to their fields
  Pump();

  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, RecordSetText, nullptr, GetCurrentThreadId());
  SwitchEveryUnit(window);
  UnhookWindowsHookEx(hook);
  HWND floor = FloorWindow();
  std::map<HWND, HWND> copies;
  for (TextCall& call : Recorded) {
    if (!copies.count(call.control)) copies[call.control] = CopyControl(call.control, floor);
    call.control = copies[call.control];
  }

  const int Rounds = 21;
  std::vector<double> switches, floors;
  for (int r = 0; r < Rounds; ++r) {
    ShowWindow(floor, SW_HIDE);
    ShowWindow(window, SW_SHOW);
    Pump();
    double start = Now();
    SwitchEveryUnit(window);
    switches.push_back((Now() - start) / UnitCount);
    ShowWindow(window, SW_HIDE);
    ShowWindow(floor, SW_SHOW);
    Pump();
    start = Now();
    for (const TextCall& call : Recorded) SetWindowTextA(call.control, call.text.c_str());
    floors.push_back((Now() - start) / UnitCount);
  }
  std::sort(switches.begin(), switches.end());
  std::sort(floors.begin(), floors.end());
  double switchUs = switches[Rounds / 2], floorUs = floors[Rounds / 2];
  std::printf("settext_per_switch=%.1f switch_us=%.1f floor_us=%.1f switch_ratio=%.2f\n",
              static_cast<double>(Recorded.size()) / UnitCount, switchUs, floorUs,
              switchUs / floorUs);
  DestroyWindow(floor);
  DestroyWindow(window);
  return 0;
}
