// Times a unit switch of the main window (select a unit and refresh, as a
// click on a unit button does) against the platform's floor: the same
// SetWindowTextA calls with the same texts on bare copies of the same
// controls in a window that does nothing with their notifications. Each is
// timed while its window is shown and the other one hidden, in turns.
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
#include "editor/main_window.h"
#include "editor/item_window.h"
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
  return 1e6 * counter.QuadPart / frequency.QuadPart;
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
  HWND copy = CreateWindowExA(static_cast<DWORD>(GetWindowLongA(control, GWL_EXSTYLE)), className, "",
                              static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)), rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, AppInstance,
                              nullptr);
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
  return CreateWindowExA(0, "BenchFloor", "floor", WS_OVERLAPPED | WS_SYSMENU, CW_USEDEFAULT, 0, 660, 540,
                         nullptr, nullptr, AppInstance, nullptr);
}

bool MakeSave(const char* path) {
  std::vector<unsigned char> bytes(SaveFileMinLength);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i * 7 % 5);
  std::memcpy(&bytes[0], SaveHeaderText, SaveHeaderLength);
  std::memcpy(&bytes[96], SaveTitleText, SaveTitleLength);
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  bool ok = file != INVALID_HANDLE_VALUE && WriteFile(file, bytes.data(), bytes.size(), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

}  // namespace

int main() {
  AppInstance = GetModuleHandleA(nullptr);
  RegisterWindowClass(MainWindowClassName);
  MorWin0* editor = new MorWin0;
  HWND window = editor->hwnd;

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
              static_cast<double>(Recorded.size()) / UnitCount, switchUs, floorUs, switchUs / floorUs);
  DestroyWindow(floor);
  DestroyWindow(window);
  return 0;
}
