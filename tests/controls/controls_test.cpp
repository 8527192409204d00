// The bound controls on real controls, their values moved by notifications.
#include <gtest/gtest.h>

#include <cstdint>

#include "controls/controls.h"
#include "tools/windriver/windriver.h"

namespace {

// A parent that, like the editor's windows, commits every control notification.
LRESULT CALLBACK Committing(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && lParam) CommitBoundControl(window, reinterpret_cast<HWND>(lParam));
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND NewParent() {
  WNDCLASSA record = {};
  record.lpfnWndProc = Committing;
  record.lpszClassName = "ControlsTest";
  RegisterClassA(&record);
  return CreateWindowExA(0, "ControlsTest", "", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr,
                         nullptr, nullptr, nullptr);
}

}  // namespace

TEST(BoundControls, ShowCommitAndWalkEachKindOfValue) {
  HWND parent = NewParent();
  // A word shows unsigned, starts with its value, not the option letters, and
  // commits back within its range.
  std::uint16_t word = 40000;
  HWND field = CreateBoundControl(parent, 0, 0, 60, 20, ShortEdit, "3B", 12, 0, 65535, &word);
  EXPECT_EQ("40000", WindowText(field));
  EXPECT_EQ(40000, word);
  EXPECT_TRUE(GetWindowLongA(field, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  SetWindowTextA(field, "70000");
  EXPECT_EQ("65535", WindowText(field));
  EXPECT_EQ(65535, word);

  // A text field shows its Shift-JIS buffer and takes back whole characters
  // only, as many as its bytes hold.
  char text[6] = "\x83\x41";  // "ア"
  HWND edit = CreateBoundControl(parent, 0, 30, 80, 20, TextEdit, "", 13, 0, 5, text);
  EXPECT_EQ(u8"ア", WindowText(edit));
  TypeText(edit, u8"アイテム");
  EXPECT_STREQ("\x83\x41\x83\x43", text);

  // A check box is the editor's END?, which its walk ticks and saves.
  std::int32_t index = 0;
  HWND radio = nullptr;
  for (int id = 20; id <= 22; ++id)
    radio = CreateBoundControl(parent, 0, 30 * id, 80, 20, RadioButton, "r", id, 20, 22, &index);
  SendMessageA(radio, BM_CLICK, 0, 0);
  EXPECT_EQ(2, index);

  // The walks reach the controls inside a control, as the editor's panel holds its labels.
  HWND group = CreateBoundControl(parent, 0, 0, 200, 100, GroupBox, "NAME", 11, 0, 0, nullptr);
  HWND inner = CreateBoundControl(group, 10, 20, 60, 20, Label, "in", 11, 0, 0, nullptr);
  EnableBoundControls(parent, 0);
  EXPECT_FALSE(IsWindowEnabled(inner));
  DestroyBoundControls(parent);
  EXPECT_FALSE(IsWindow(inner) || IsWindow(parent));
}
