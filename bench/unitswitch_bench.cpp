// unitswitch_bench: times a unit switch of the main window (select a unit and refresh, as a
// click on a unit button does) against the platform's floor: the same
// SetWindowTextW calls with the same UTF-16 texts on bare copies of the same
// controls in a window that does nothing with their notifications. Each is
// timed while its window is shown and the other one hidden, in turns. After
// each click, the editor's controls and their copies must show the texts
// recorded for them.
//   unitswitch_bench layout FILE writes instead the layout of the editor's
//   windows just after start, for startfloor (bench/layout.h).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app/startup.h"
#include "app/text.h"
#include "app/window.h"
#include "bench/layout.h"
#include "controls/controls.h"
#include "core/savefile.h"
#include "editor/item_window.h"
#include "editor/main_window.h"

namespace {

struct TextCall {
  HWND control;
  std::wstring text;
};
std::vector<TextCall> Recorded;

// A wide hook: the editor sets every text with SetWindowTextW, and the
// platform hands the hook the text as it was sent.
LRESULT CALLBACK RecordSetText(int code, WPARAM wParam, LPARAM lParam) {
  const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && call->message == WM_SETTEXT && call->lParam)
    Recorded.push_back({call->hwnd, reinterpret_cast<const wchar_t*>(call->lParam)});
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1e6 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Clicks the button of unit.
void ClickUnit(HWND window, int unit) {
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(FirstUnitId + unit, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, FirstUnitId + unit)));
}

// Clicks every unit button once, in order.
void SwitchEveryUnit(HWND window) {
  for (int unit = 0; unit < UnitCount; ++unit) ClickUnit(window, unit);
}

// A window's text.
std::wstring TextOf(HWND window) {
  std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(GetWindowTextW(window, &text[0], static_cast<int>(text.size())));
  return text;
}

// A bare copy of control (class, styles, place, font) in parent.
HWND CopyControl(HWND control, HWND parent) {
  wchar_t className[64];
  GetClassNameW(control, className, 64);
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  HWND copy = CreateWindowExW(static_cast<DWORD>(GetWindowLongW(control, GWL_EXSTYLE)), className,
                              L"", static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE)),
                              rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                              parent, nullptr, AppInstance, nullptr);
  SendMessageW(copy, WM_SETFONT, SendMessageW(control, WM_GETFONT, 0, 0), FALSE);
  return copy;
}

HWND FloorWindow() {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = AppInstance;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"BenchFloor";
  RegisterClassW(&windowClass);
  return CreateWindowExW(0, L"BenchFloor", L"floor", WS_OVERLAPPED | WS_SYSMENU, CW_USEDEFAULT, 0,
                         660, 540, nullptr, nullptr, AppInstance, nullptr);
}

bool MakeSave(const wchar_t* path) {
  std::vector<unsigned char> bytes(SaveFileMinLength);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i * 7 % 5);
  std::memcpy(&bytes[0], SaveHeaderText, SaveHeaderLength);
  std::memcpy(&bytes[96], SaveTitleText, SaveTitleLength);
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  bool ok = file != INVALID_HANDLE_VALUE &&
            WriteFile(file, bytes.data(), bytes.size(), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

// The layout, as startfloor reads it (bench/layout.h).
struct LayoutWriter {
  std::FILE* out;  // its write errors are checked once, when it is closed
  std::vector<HFONT> fonts;
  int windows = 0;

  void Menu(HMENU menu, int depth) {
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
      MENUITEMINFOW item = {};
      item.cbSize = sizeof item;
      item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_ID;
      GetMenuItemInfoW(menu, i, TRUE, &item);
      wchar_t text[TextUnits] = L"";
      GetMenuStringW(menu, i, text, TextUnits, MF_BYPOSITION);
      unsigned flags = (item.hSubMenu ? MF_POPUP : 0) | (item.fState & MFS_GRAYED ? MF_GRAYED : 0) |
                       (item.fType & MFT_SEPARATOR ? MF_SEPARATOR : 0);
      (void)std::fprintf(out, "M %d %u %u %s\n", depth, flags, item.wID, LayoutWord(text).c_str());
      if (item.hSubMenu) Menu(item.hSubMenu, depth + 1);
    }
  }

  int Font(HWND window) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    if (!font) return -1;
    for (std::size_t i = 0; i < fonts.size(); ++i)
      if (fonts[i] == font) return static_cast<int>(i);
    LOGFONTW f = {};
    GetObjectW(font, sizeof f, &f);
    (void)std::fprintf(out, "F %ld %ld %d %d %d %s\n", f.lfHeight, f.lfWidth, f.lfCharSet,
                       f.lfQuality, f.lfPitchAndFamily, LayoutWord(f.lfFaceName).c_str());
    fonts.push_back(font);
    return static_cast<int>(fonts.size()) - 1;
  }

  // Writes window and then its children, in creation order; its index.
  int Window(HWND window, int parent, int owner) {
    char className[64];
    GetClassNameA(window, className, sizeof className);  // the platform's and ours: ASCII
    RECT r;
    GetWindowRect(window, &r);
    if (parent >= 0) MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    int font = Font(window);
    (void)std::fprintf(out, "W %d %d %s %lu %lu %ld %ld %ld %ld %d %s\n", parent, owner, className,
                       static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)),
                       static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)), r.left,
                       r.top, r.right - r.left, r.bottom - r.top, font,
                       LayoutWord(TextOf(window).c_str()).c_str());
    int self = windows++;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      Window(child, self, -1);
    return self;
  }
};

int WriteLayout(MorWin0* editor, const char* path) {
  LayoutWriter layout;
  layout.out = std::fopen(path, "w");
  if (!layout.out) return 1;
  layout.Menu(GetMenu(editor->hwnd), 0);
  int mainIndex = layout.Window(editor->hwnd, -1, -1);
  layout.Window(editor->itemWindow->hwnd, -1, mainIndex);
  // The writes into the layout are checked here, once.
  bool written = !std::ferror(layout.out);
  return std::fclose(layout.out) == 0 && written ? 0 : 1;
}

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

// Opens a save file of in-range values in the editor, as a user would.
bool OpenSave(HWND window) {
  wchar_t path[MAX_PATH];
  char utf8[PathBytes];
  DWORD length = GetTempPathW(MAX_PATH - 20, path);
  if (length == 0 || length >= MAX_PATH - 20) return false;
  lstrcatW(path, L"asdedit-bench.asd");
  bool opened = MakeSave(path) && ToUtf8(path, utf8, PathBytes) && LoadSaveFile(utf8) == 0;
  DeleteFileW(path);
  if (opened) EnableBoundControls(window, 1);
  return opened;
}

// Whether every control of the recorded calls from first to end shows the
// text that the last of them set in it.
bool ShowsLastTexts(std::size_t first, std::size_t end) {
  for (std::size_t i = first; i < end; ++i) {
    bool last = true;
    for (std::size_t k = i + 1; k < end; ++k)
      last = last && Recorded[k].control != Recorded[i].control;
    if (last && TextOf(Recorded[i].control) != Recorded[i].text) return false;
  }
  return true;
}

// Records the texts of one switch to every unit, in order; ends[unit] is where
// the calls of that unit's click end. False unless every control then shows
// the text last recorded for it: the recorder takes the texts whole.
bool RecordSwitches(HWND window, std::vector<std::size_t>& ends) {
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, RecordSetText, nullptr, GetCurrentThreadId());
  bool whole = true;
  for (int unit = 0; unit < UnitCount; ++unit) {
    std::size_t first = Recorded.size();
    ClickUnit(window, unit);
    ends.push_back(Recorded.size());
    whole = whole && ShowsLastTexts(first, Recorded.size());
  }
  UnhookWindowsHookEx(hook);
  return whole;
}

// The floor: the recorded calls from first to end, replayed.
void Replay(std::size_t first, std::size_t end) {
  for (std::size_t i = first; i < end; ++i)
    SetWindowTextW(Recorded[i].control, Recorded[i].text.c_str());
}

// Replays the recorded calls, unit by unit; false unless every copy then
// shows the text last recorded for it, as the editor's control did.
bool ReplayMatches(const std::vector<std::size_t>& ends) {
  std::size_t first = 0;
  for (std::size_t end : ends) {
    Replay(first, end);
    if (!ShowsLastTexts(first, end)) return false;
    first = end;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  AppInstance = GetModuleHandleW(nullptr);
  RegisterWindowClass(MainWindowClassName);
  MorWin0* editor = new MorWin0;
  HWND window = editor->hwnd;
  if (argc == 3 && std::strcmp(argv[1], "layout") == 0) return WriteLayout(editor, argv[2]);

  if (!OpenSave(window)) return 1;
  SwitchEveryUnit(window);  // every value shown once: out-of-range ones are held to their fields
  Pump();

  std::vector<std::size_t> ends;
  if (!RecordSwitches(window, ends)) {
    (void)std::fprintf(stderr, "unitswitch_bench: a recorded text is not the one shown\n");
    return 1;
  }
  HWND floor = FloorWindow();
  std::map<HWND, HWND> copies;
  for (TextCall& call : Recorded) {
    if (!copies.count(call.control)) copies[call.control] = CopyControl(call.control, floor);
    call.control = copies[call.control];
  }
  if (!ReplayMatches(ends)) {
    (void)std::fprintf(stderr, "unitswitch_bench: a bare copy does not show its text\n");
    return 1;
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
    Replay(0, Recorded.size());
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
