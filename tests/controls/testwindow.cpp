#include "testwindow.h"

#include <cstdint>

#include "controls/controls.h"

std::vector<Notice> Notices;
bool CommitNotifications = true;

namespace {

const char TestClassName[] = "AsdControlsTest";

long BoundValue(HWND parent, HWND control) {
  const BoundControl* record = FindBoundControl(parent, control);
  if (!record || !record->bound) return NoValue;
  switch (record->kind) {
    case CheckBox:
    case ShortEdit:
      return *static_cast<const std::uint16_t*>(record->bound);
    case RadioButton:
    case LongEdit:
      return *static_cast<const std::int32_t*>(record->bound);
    default:
      return NoValue;
  }
}

LRESULT CALLBACK TestParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && lParam != 0) {
    HWND control = reinterpret_cast<HWND>(lParam);
    Notices.push_back({control, TextOf(control), BoundValue(window, control)});
    if (CommitNotifications) CommitBoundControl(window, control);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HWND CreateTestParent(HINSTANCE instance) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_GLOBALCLASS;
    windowClass.lpfnWndProc = TestParentProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = TestClassName;
    registered = RegisterClassA(&windowClass) != 0;
  }
  CommitNotifications = true;
  Notices.clear();
  return CreateWindowExA(0, TestClassName, "test", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr,
                         nullptr, instance, nullptr);
}

std::string TextOf(HWND window) {
  char text[256];
  int length = GetWindowTextA(window, text, sizeof text);
  return std::string(text, length > 0 ? length : 0);
}

int CountGroups() {
  int count = 0;
  for (ControlGroup* group = ControlRegistry; group; group = group->next) ++count;
  return count;
}

Typed TypeText(HWND parent, HWND field, const char* text) {
  Notices.clear();
  SetWindowTextA(field, text);
  Typed typed = {NoValue, "(no second notification)", BoundValue(parent, field), TextOf(field)};
  if (Notices.size() >= 2) {
    typed.firstValue = Notices[1].value;
    typed.firstText = Notices[1].text;
  }
  return typed;
}
