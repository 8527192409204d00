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

TEST(BoundControls, ShowAndCommitEachKindOfValue) {
  HWND parent = NewParent();
  for (int kind = -1; kind <= ControlKindCount; ++kind)
    EXPECT_EQ(kind >= 0 && kind < ControlKindCount,
              CreateBoundControl(parent, 0, 0, 9, 9, kind, "k", 99, 0, 0, nullptr) != nullptr);
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

  std::uint16_t flag = 0;
  HWND box = CreateBoundControl(parent, 0, 60, 80, 20, CheckBox, "END?", 30, 0, 0, &flag);
  for (int click : {1, 0}) {
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_EQ(click, flag);
    EXPECT_EQ(static_cast<UINT>(click), IsDlgButtonChecked(parent, 30));
  }
  std::int32_t index = 1;
  HWND radio[4];
  for (int i = 0; i < 4; ++i)
    radio[i] = CreateBoundControl(parent, 0, 90 + 20 * i, 80, 20, RadioButton, "r", 20 + i, 20, 23,
                                  &index);
  EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(parent, 21));  // shown once the group is complete
  SendMessageA(radio[2], BM_CLICK, 0, 0);
  EXPECT_EQ(2, index);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(i == 0, (GetWindowLongA(radio[i], GWL_STYLE) & WS_GROUP) != 0) << i;
    EXPECT_EQ(i == 2, IsDlgButtonChecked(parent, 20 + i) == BST_CHECKED) << i;
  }
  DestroyBoundControls(parent);
}

TEST(BoundControls, WalksReachTheControlsInsideControls) {
  HWND parent = NewParent();
  std::uint16_t first = 1, second = 2;
  HWND group = CreateBoundControl(parent, 0, 0, 200, 100, GroupBox, "NAME", 11, 0, 0, nullptr);
  HWND inner = CreateBoundControl(group, 10, 20, 60, 20, Label, "in", 11, SS_CENTER,
                                  WS_EX_DLGMODALFRAME, nullptr);
  HWND field = CreateBoundControl(parent, 0, 120, 60, 20, ShortEdit, nullptr, 16, 0, 9, &first);
  EnableBoundControls(parent, 0);
  EXPECT_FALSE(IsWindowEnabled(inner) || IsWindowEnabled(field) || !IsWindowEnabled(parent));
  ASSERT_NE(nullptr, RebindControl(parent, 16, &second));
  EXPECT_EQ(nullptr, RebindControl(parent, 99, &second));
  EXPECT_EQ("1", WindowText(field));  // rebinding does not show
  RefreshBoundControls(parent);
  EXPECT_EQ("2", WindowText(field));
  DestroyBoundControls(parent);
  EXPECT_FALSE(IsWindow(inner) || IsWindow(group) || IsWindow(parent));
  EXPECT_EQ(reinterpret_cast<HWND>(-1), FindControlById(parent, 16));
}
