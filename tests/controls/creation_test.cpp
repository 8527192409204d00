#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "controls/controls.h"
#include "testwindow.h"

namespace {

// What CreateWindowExA was asked for, seen by a CBT hook.
struct Request {
  std::string className;
  DWORD style;
  DWORD exStyle;
  std::string text;
};
Request LastRequest;

LRESULT CALLBACK WatchCreation(int code, WPARAM wParam, LPARAM lParam) {
  // The first window is the control; a combo box creates its list after it.
  if (code == HCBT_CREATEWND && LastRequest.className == "(none)") {
    const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
    LastRequest = {create->lpszClass, static_cast<DWORD>(create->style), create->dwExStyle,
                   create->lpszName ? create->lpszName : ""};
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Creates a control while watching what the platform was asked for.
HWND CreateWatched(HWND parent, int kind, const char* text, int id, int param1, int param2,
                   void* bound = nullptr) {
  LastRequest = {"(none)", 0, 0, ""};
  HHOOK hook = SetWindowsHookExA(WH_CBT, WatchCreation, nullptr, GetCurrentThreadId());
  HWND control = CreateBoundControl(parent, 10, 10, 60, 20, kind, text, id, param1, param2, bound);
  UnhookWindowsHookEx(hook);
  return control;
}

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)); }
DWORD ExStyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)); }

}  // namespace

// Every kind is created from its row: class, style and extended style.
TEST(CreateBoundControl, KindsFollowTheirRows) {
  struct Row {
    const char* className;
    DWORD style;
    DWORD exStyle;
  };
  const Row rows[ControlKindCount] = {
      {"BUTTON", 0x50000F00, 0},     {"BUTTON", 0x50000D02, 0},     {"BUTTON", 0x50000D04, 0},
      {"EDIT", 0x50000180, 0},       {"EDIT", 0x50000100, 0},       {"EDIT", 0x50000100, 0},
      {"EDIT", 0x50000100, 0},       {"LISTBOX", 0x50800000, 0x200}, {"COMBOBOX", 0x50A00203, 0},
      {"STATIC", 0x50000080, 0},     {"SCROLLBAR", 0x50000003, 0},  {"SCROLLBAR", 0x50000002, 0},
      {"BUTTON", 0x50004C07, 0},
  };
  HWND parent = CreateTestParent();
  for (int kind = 0; kind < ControlKindCount; ++kind) {
    // A radio button that is not the first of its group gets no extra style.
    HWND control = CreateWatched(parent, kind, "x", 100 + kind, 0, 0);
    ASSERT_NE(nullptr, control) << kind;
    char className[32];
    GetClassNameA(control, className, sizeof className);
    EXPECT_STRCASEEQ(rows[kind].className, className) << kind;
    EXPECT_STREQ(rows[kind].className, LastRequest.className.c_str()) << kind;
    EXPECT_EQ(rows[kind].style, LastRequest.style) << kind;
    EXPECT_EQ(rows[kind].exStyle, LastRequest.exStyle) << kind;
    EXPECT_EQ(100 + kind, GetDlgCtrlID(control)) << kind;
    if (kind != VertScrollBar && kind != HorzScrollBar) {  // scroll bars keep no font
      EXPECT_EQ(GetInterfaceFont(0), reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)))
          << kind;
    }
  }
  DestroyBoundControls(parent);
}

TEST(CreateBoundControl, EditOptionLetters) {
  HWND parent = CreateTestParent();
  HWND both = CreateWatched(parent, ShortEdit, "3B", 1, 0, 99);
  EXPECT_EQ(0x50800100u, StyleOf(both));
  EXPECT_EQ(static_cast<DWORD>(WS_EX_CLIENTEDGE), ExStyleOf(both));
  EXPECT_EQ("", LastRequest.text);
  EXPECT_EQ("", TextOf(both));

  // An edit draws a thin border of its own and then drops WS_BORDER from its
  // style, so the request is what shows the letter here.
  CreateWatched(parent, LongEdit, "B", 2, 0, 99);
  EXPECT_EQ(0x50800100u, LastRequest.style);
  EXPECT_EQ(0u, LastRequest.exStyle);

  // Other letters add nothing; the field starts empty, then shows its value.
  std::uint16_t word = 7;
  HWND other = CreateWatched(parent, ShortEdit, "bx", 3, 0, 99, &word);
  EXPECT_EQ(0x50000100u, StyleOf(other));
  EXPECT_EQ(0u, ExStyleOf(other));
  EXPECT_EQ("", LastRequest.text);
  EXPECT_EQ("7", TextOf(other));
  DestroyBoundControls(parent);
}

TEST(CreateBoundControl, ExtraStylesOfButtonsAndLabels) {
  HWND parent = CreateTestParent();
  HWND label = CreateWatched(parent, Label, "abc", 11, 0x00800001, 1);
  EXPECT_EQ(0x50800081u, StyleOf(label));
  EXPECT_TRUE(ExStyleOf(label) & WS_EX_DLGMODALFRAME);
  EXPECT_EQ("abc", TextOf(label));
  HWND box = CreateWatched(parent, CheckBox, "END?", 13, WS_TABSTOP, WS_EX_STATICEDGE);
  EXPECT_EQ(0x50010D02u, StyleOf(box));
  EXPECT_EQ(static_cast<DWORD>(WS_EX_STATICEDGE), ExStyleOf(box));

  // Kinds without extras keep their parameters in the record only.
  HWND group = CreateWatched(parent, GroupBox, "box", 14, WS_BORDER, WS_EX_CLIENTEDGE);
  EXPECT_EQ(0x50004C07u, StyleOf(group));
  EXPECT_EQ(0u, ExStyleOf(group));
  const BoundControl* record = FindBoundControl(parent, group);
  ASSERT_NE(nullptr, record);
  EXPECT_EQ(static_cast<int>(WS_BORDER), record->param1);
  EXPECT_EQ(WS_EX_CLIENTEDGE, record->param2);
  DestroyBoundControls(parent);
}

TEST(CreateBoundControl, RadioGroupIsMarkedAndShownOnce) {
  HWND parent = CreateTestParent();
  std::int32_t index = 1;
  HWND buttons[4];
  for (int i = 0; i < 4; ++i) {
    buttons[i] = CreateWatched(parent, RadioButton, "r", 20 + i, 20, 23, &index);
    EXPECT_EQ(i == 0, (StyleOf(buttons[i]) & WS_GROUP) != 0) << i;
    EXPECT_EQ(i == 0 ? 0x50020D04u : 0x50000D04u, LastRequest.style) << i;
    // Nothing is checked until the last button of the group exists.
    for (int j = 0; j <= i; ++j)
      EXPECT_EQ(i == 3 && j == 1, IsDlgButtonChecked(parent, 20 + j) == BST_CHECKED) << i << j;
  }
  DestroyBoundControls(parent);
}

TEST(CreateBoundControl, TextEditLimit) {
  HWND parent = CreateTestParent();
  HWND bare = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 10, 10, parent, nullptr, nullptr, nullptr);
  LRESULT defaultLimit = SendMessageA(bare, EM_GETLIMITTEXT, 0, 0);
  char buffer[8] = "abc";
  HWND limited = CreateBoundControl(parent, 0, 0, 60, 20, TextEdit, nullptr, 1, 0, 5, buffer);
  EXPECT_EQ(5, SendMessageA(limited, EM_GETLIMITTEXT, 0, 0));
  EXPECT_EQ("abc", TextOf(limited));
  HWND zero = CreateBoundControl(parent, 0, 0, 60, 20, TextEdit, nullptr, 2, 0, 0, nullptr);
  EXPECT_EQ(defaultLimit, SendMessageA(zero, EM_GETLIMITTEXT, 0, 0));
  HWND negative = CreateBoundControl(parent, 0, 0, 60, 20, TextEdit, nullptr, 3, 0, -4, nullptr);
  EXPECT_EQ(defaultLimit, SendMessageA(negative, EM_GETLIMITTEXT, 0, 0));
  DestroyBoundControls(parent);
}

TEST(CreateBoundControl, KindsOutsideTheTableCreateNothing) {
  HWND parent = CreateTestParent();
  std::uint16_t word = 1;
  int groups = CountGroups();
  EXPECT_EQ(nullptr, CreateBoundControl(parent, 0, 0, 10, 10, -1, "x", 5, 0, 3, &word));
  EXPECT_EQ(nullptr, CreateBoundControl(parent, 0, 0, 10, 10, ControlKindCount, "x", 5, 0, 3, &word));
  EXPECT_EQ(groups, CountGroups());
  EXPECT_EQ(nullptr, GetWindow(parent, GW_CHILD));
  EXPECT_EQ(reinterpret_cast<HWND>(-1), FindControlById(parent, 5));
  DestroyWindow(parent);
}

// The child's instance is the parent's, whole on 64-bit too.
TEST(CreateBoundControl, ChildTakesTheParentsInstance) {
  HINSTANCE other = GetModuleHandleA("user32.dll");
  HWND parent = CreateTestParent(other);
  ASSERT_NE(nullptr, parent);
  HWND control = CreateBoundControl(parent, 0, 0, 10, 10, Label, "x", 1, 0, 0, nullptr);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(other), GetWindowLongPtrA(control, GWLP_HINSTANCE));
  DestroyBoundControls(parent);
}

TEST(Registry, LookupsFindTheNewestRecord) {
  HWND parent = CreateTestParent();
  HWND stranger = CreateTestParent();
  std::uint16_t first = 1, second = 2, third = 3;
  HWND older = CreateBoundControl(parent, 0, 0, 10, 10, Label, "a", 11, 0, 0, nullptr);
  HWND newer = CreateBoundControl(parent, 0, 0, 10, 10, Label, "b", 11, 0, 0, nullptr);
  HWND field = CreateBoundControl(parent, 0, 0, 10, 10, ShortEdit, nullptr, 12, 0, 9, &first);
  HWND unregistered = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 10, 10, parent,
                                      reinterpret_cast<HMENU>(13), nullptr, nullptr);

  EXPECT_EQ(newer, FindControlById(parent, 11));
  EXPECT_EQ(11, GetBoundControlId(parent, older));
  EXPECT_EQ(12, GetBoundControlId(parent, field));
  const BoundControl* record = FindBoundControl(parent, field);
  ASSERT_NE(nullptr, record);
  EXPECT_EQ(field, record->control);
  EXPECT_EQ(ShortEdit, record->kind);
  EXPECT_EQ(0, record->param1);
  EXPECT_EQ(9, record->param2);
  EXPECT_EQ(&first, record->bound);

  const HWND none = reinterpret_cast<HWND>(-1);
  EXPECT_EQ(none, FindControlById(parent, 13));
  EXPECT_EQ(none, FindControlById(stranger, 11));
  EXPECT_EQ(nullptr, FindBoundControl(parent, unregistered));
  EXPECT_EQ(nullptr, FindBoundControl(stranger, field));
  EXPECT_EQ(nullptr, FindBoundControl(parent, none));
  EXPECT_EQ(-1, GetBoundControlId(parent, unregistered));
  EXPECT_EQ(-1, GetBoundControlId(stranger, field));

  // Rebinding swaps the variable without showing it.
  EXPECT_EQ(nullptr, RebindControl(parent, 13, &second));
  EXPECT_EQ(&first, record->bound);
  EXPECT_EQ(record, RebindControl(parent, 12, &second));
  EXPECT_EQ(&second, record->bound);
  EXPECT_EQ("1", TextOf(field));
  EXPECT_EQ(FindBoundControl(parent, newer), RebindControl(parent, 11, &third));
  EXPECT_EQ(nullptr, FindBoundControl(parent, older)->bound);
  DestroyBoundControls(parent);
  DestroyWindow(stranger);
}

TEST(Registry, DestroyBoundControlsFreesNestedGroups) {
  int groups = CountGroups();
  HWND lonely = CreateTestParent();
  DestroyBoundControls(lonely);
  EXPECT_TRUE(IsWindow(lonely));
  DestroyWindow(lonely);

  HWND parent = CreateTestParent();
  HWND box = CreateBoundControl(parent, 0, 0, 200, 200, GroupBox, "box", 11, 0, 0, nullptr);
  HWND label = CreateBoundControl(box, 10, 20, 50, 20, Label, "in", 11, 0, 0, nullptr);
  HWND inner = CreateBoundControl(label, 0, 0, 10, 10, Label, "deep", 11, 0, 0, nullptr);
  HWND edit = CreateBoundControl(parent, 0, 0, 10, 10, ShortEdit, nullptr, 12, 0, 3, nullptr);
  EXPECT_EQ(groups + 3, CountGroups());

  DestroyBoundControls(parent);
  EXPECT_EQ(groups, CountGroups());
  for (HWND window : {parent, box, label, inner, edit}) EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(nullptr, FindBoundControl(parent, edit));
  EXPECT_EQ(nullptr, FindBoundControl(box, label));
}

TEST(InterfaceFonts, TableAndHandles) {
  EXPECT_EQ(nullptr, GetInterfaceFont(5));
  HFONT normal = GetInterfaceFont(0);
  HFONT small = GetInterfaceFont(1);
  ASSERT_NE(nullptr, normal);
  ASSERT_NE(nullptr, small);
  EXPECT_NE(normal, small);
  EXPECT_EQ(normal, GetInterfaceFont(0));
  EXPECT_EQ(nullptr, GetInterfaceFont(-1));
  EXPECT_EQ(nullptr, GetInterfaceFont(2));

  EXPECT_EQ(8, GetFontWidth(0));
  EXPECT_EQ(16, GetFontHeight(0));
  EXPECT_EQ(6, GetFontWidth(1));
  EXPECT_EQ(12, GetFontHeight(1));
  EXPECT_EQ(0, GetFontWidth(2));
  EXPECT_EQ(0, GetFontHeight(2));
  EXPECT_EQ(0, GetFontHeight(-1));

  // "ＭＳ ゴシック" in Shift-JIS: 13 bytes.
  const unsigned char face[] = {0x82, 0x6C, 0x82, 0x72, 0x20, 0x83, 0x53,
                                0x83, 0x56, 0x83, 0x62, 0x83, 0x4E, 0x00};
  const HFONT handles[] = {normal, small};
  const LONG heights[] = {16, 12};
  for (int i = 0; i < InterfaceFontCount; ++i) {
    LOGFONTA font = {};
    ASSERT_EQ(static_cast<int>(sizeof font), GetObjectA(handles[i], sizeof font, &font));
    EXPECT_EQ(0, std::memcmp(face, font.lfFaceName, sizeof face)) << i;
    EXPECT_EQ(0, std::memcmp(face, InterfaceFonts[i].lfFaceName, sizeof face)) << i;
    EXPECT_EQ(heights[i], font.lfHeight);
    EXPECT_EQ(heights[i] / 2, font.lfWidth);
    EXPECT_EQ(SHIFTJIS_CHARSET, font.lfCharSet);
  }
}
