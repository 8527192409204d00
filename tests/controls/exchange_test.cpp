#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "controls/controls.h"
#include "testwindow.h"

namespace {

struct TypedCase {
  const char* text;
  long firstValue;
  const char* firstText;
  long value;
  const char* finalText;
};

void ExpectTyped(HWND parent, HWND field, void* variable, bool shortWord, const TypedCase* cases,
                 int count) {
  for (int i = 0; i < count; ++i) {
    const TypedCase& c = cases[i];
    if (shortWord)
      *static_cast<std::uint16_t*>(variable) = 777;
    else
      *static_cast<std::int32_t*>(variable) = 777;
    Typed typed = TypeText(parent, field, c.text);
    EXPECT_EQ(c.firstValue, typed.firstValue) << "'" << c.text << "'";
    EXPECT_EQ(c.firstText, typed.firstText) << "'" << c.text << "'";
    EXPECT_EQ(c.value, typed.value) << "'" << c.text << "'";
    EXPECT_EQ(c.finalText, typed.text) << "'" << c.text << "'";
  }
}

}  // namespace

TEST(CommitBoundControl, ShortEditHeldToItsRange) {
  HWND parent = CreateTestParent();
  std::uint16_t word = 0;
  HWND field = CreateBoundControl(parent, 0, 0, 60, 20, ShortEdit, "3", 12, 0, 3, &word);
  const TypedCase cases[] = {
      {"2", 2, "2", 2, "2"},         {"5", 3, "3", 3, "3"},       {"", 0, "", 0, ""},
      {"abc", 0, "0", 0, "0"},       {"-", 0, "0", 0, "0"},       {"+", 0, "0", 0, "0"},
      {"   ", 0, "0", 0, "0"},       {" 2", 2, " 2", 2, " 2"},    {"2 ", 2, "2", 2, "2"},
      {"2x", 2, "2", 2, "2"},        {"9x", 9, "9", 3, "3"},      {"+2", 2, "+2", 2, "+2"},
      {"002", 2, "002", 2, "002"},   {"-1", 0, "0", 0, "0"},
  };
  ExpectTyped(parent, field, &word, true, cases, sizeof cases / sizeof cases[0]);
  DestroyBoundControls(parent);
}

TEST(CommitBoundControl, LongEditSignedRange) {
  HWND parent = CreateTestParent();
  std::int32_t number = 5;
  HWND field = CreateBoundControl(parent, 0, 0, 60, 20, LongEdit, nullptr, 12, -10, 10, &number);
  EXPECT_EQ("5", TextOf(field));
  const TypedCase cases[] = {
      {"-", -10, "-10", -10, "-10"}, {"", -10, "", -10, ""}, {"-11", -10, "-10", -10, "-10"},
      {"-7", -7, "-7", -7, "-7"},
  };
  ExpectTyped(parent, field, &number, false, cases, sizeof cases / sizeof cases[0]);
  DestroyBoundControls(parent);
}

TEST(CommitBoundControl, ShortEditWideNumbers) {
  HWND parent = CreateTestParent();
  std::uint16_t word = 65535;
  HWND field = CreateBoundControl(parent, 0, 0, 60, 20, ShortEdit, nullptr, 12, 0, 65535, &word);
  EXPECT_EQ("65535", TextOf(field));
  EXPECT_EQ(65535, word);
  const std::string fortyOnes(40, '1');
  const std::string zerosThenSevens = std::string(31, '0') + std::string(9, '7');
  const TypedCase cases[] = {
      {"65535", 65535, "65535", 65535, "65535"},
      {"65536", 65535, "65535", 65535, "65535"},
      {"4000000000", 65535, "65535", 65535, "65535"},
      {fortyOnes.c_str(), 65535, "65535", 65535, "65535"},
      // Only the first 31 bytes are read: the sevens are never seen.
      {zerosThenSevens.c_str(), 0, zerosThenSevens.c_str(), 0, zerosThenSevens.c_str()},
  };
  ExpectTyped(parent, field, &word, true, cases, sizeof cases / sizeof cases[0]);

  // The range is tested on 32 bits; the word keeps the low 16 of them.
  HWND wide = CreateBoundControl(parent, 0, 0, 60, 20, ShortEdit, nullptr, 13, 0, 100000, &word);
  Typed typed = TypeText(parent, wide, "70000");
  EXPECT_EQ(70000 - 65536, typed.value);
  EXPECT_EQ("70000", typed.text);
  DestroyBoundControls(parent);
}

// Keystrokes raise the same notifications: typing 5 into a field of range
// 0..3 leaves 3, clearing it leaves it empty with the minimum stored.
TEST(CommitBoundControl, KeystrokesCommitAtOnce) {
  HWND parent = CreateTestParent();
  std::uint16_t word = 2;
  HWND field = CreateBoundControl(parent, 0, 0, 60, 20, ShortEdit, "B", 12, 1, 3, &word);
  SendMessageA(field, EM_SETSEL, 0, -1);
  SendMessageA(field, WM_CHAR, '5', 1);
  EXPECT_EQ("3", TextOf(field));
  EXPECT_EQ(3, word);
  SendMessageA(field, EM_SETSEL, 0, -1);
  SendMessageA(field, WM_CHAR, VK_BACK, 1);
  EXPECT_EQ("", TextOf(field));
  EXPECT_EQ(1, word);
  SendMessageA(field, WM_CHAR, '2', 1);
  SendMessageA(field, WM_CHAR, 'x', 1);
  EXPECT_EQ("2", TextOf(field));
  EXPECT_EQ(2, word);
  DestroyBoundControls(parent);
}

// Showing a value raises a commit: a refresh brings every value into range.
TEST(RefreshBoundControls, ShownValuesAreHeldToTheirRanges) {
  HWND parent = CreateTestParent();
  std::uint16_t level = 0, x = 12, counter = 50;
  HWND levelField = CreateBoundControl(parent, 0, 0, 60, 20, ShortEdit, "3", 16, 1, 99, &level);
  HWND xField = CreateBoundControl(parent, 0, 30, 60, 20, ShortEdit, "3", 28, 0, 9, &x);
  HWND counterField = CreateBoundControl(parent, 0, 60, 60, 20, ShortEdit, "B", 1, 0, 99, &counter);
  EXPECT_EQ(1, level);
  EXPECT_EQ("1", TextOf(levelField));
  EXPECT_EQ(9, x);
  EXPECT_EQ("9", TextOf(xField));

  level = 0;
  x = 65535;
  counter = 120;
  RefreshBoundControls(parent);
  EXPECT_EQ(1, level);
  EXPECT_EQ("1", TextOf(levelField));
  EXPECT_EQ(9, x);
  EXPECT_EQ("9", TextOf(xField));
  EXPECT_EQ(99, counter);
  EXPECT_EQ("99", TextOf(counterField));
  DestroyBoundControls(parent);
}

// Refresh and enable reach the controls registered inside registered
// controls, such as labels in a group box, and leave the window alone.
TEST(RefreshBoundControls, NestedControlsAreReachedToo) {
  HWND parent = CreateTestParent();
  std::uint16_t inner = 4;
  HWND box = CreateBoundControl(parent, 0, 0, 300, 200, GroupBox, "box", 11, 0, 0, nullptr);
  HWND label = CreateBoundControl(box, 10, 20, 60, 20, Label, "level", 11, 0, 0, nullptr);
  HWND field = CreateBoundControl(box, 10, 50, 60, 20, ShortEdit, "3", 16, 0, 99, &inner);
  HWND edit = CreateBoundControl(parent, 0, 210, 60, 20, ShortEdit, "3", 12, 0, 99, nullptr);
  HWND loose = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 100, 210, 60, 20, parent,
                               nullptr, nullptr, nullptr);

  inner = 42;
  RefreshBoundControls(parent);
  EXPECT_EQ("42", TextOf(field));

  EnableBoundControls(parent, 0);
  for (HWND control : {box, label, field, edit}) EXPECT_FALSE(IsWindowEnabled(control));
  EXPECT_TRUE(IsWindowEnabled(loose));
  EXPECT_TRUE(IsWindowEnabled(parent));
  EnableBoundControls(parent, 1);
  for (HWND control : {box, label, field, edit}) EXPECT_TRUE(IsWindowEnabled(control));
  DestroyBoundControls(parent);
}

TEST(CommitBoundControl, CheckBoxTogglesOncePerClick) {
  HWND parent = CreateTestParent();
  std::uint16_t flag = 0;
  HWND box = CreateBoundControl(parent, 0, 0, 80, 20, CheckBox, "END?", 31, 0, 0, &flag);
  EXPECT_EQ(static_cast<UINT>(BST_UNCHECKED), IsDlgButtonChecked(parent, 31));
  SendMessageA(box, BM_CLICK, 0, 0);
  EXPECT_EQ(static_cast<UINT>(BST_CHECKED), IsDlgButtonChecked(parent, 31));
  EXPECT_EQ(1, flag);
  SendMessageA(box, BM_CLICK, 0, 0);
  EXPECT_EQ(static_cast<UINT>(BST_UNCHECKED), IsDlgButtonChecked(parent, 31));
  EXPECT_EQ(0, flag);

  // Showing raises no notification, so it commits nothing.
  flag = 1;
  Notices.clear();
  RefreshBoundControls(parent);
  EXPECT_EQ(static_cast<UINT>(BST_CHECKED), IsDlgButtonChecked(parent, 31));
  EXPECT_EQ(1, flag);
  EXPECT_TRUE(Notices.empty());
  DestroyBoundControls(parent);
}

TEST(CommitBoundControl, RadioGroupStoresTheClickedIndex) {
  HWND parent = CreateTestParent();
  std::int32_t index = 0;
  HWND buttons[4];
  for (int i = 0; i < 4; ++i)
    buttons[i] = CreateBoundControl(parent, 0, 20 * i, 80, 20, RadioButton, "r", 20 + i, 20, 23, &index);
  EXPECT_EQ(static_cast<UINT>(BST_CHECKED), IsDlgButtonChecked(parent, 20));

  SendMessageA(buttons[2], BM_CLICK, 0, 0);
  EXPECT_EQ(2, index);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(i == 2, IsDlgButtonChecked(parent, 20 + i) == BST_CHECKED) << i;

  index = 1;
  RefreshBoundControls(parent);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(i == 1, IsDlgButtonChecked(parent, 20 + i) == BST_CHECKED) << i;
  DestroyBoundControls(parent);
}

TEST(CommitBoundControl, TextEditStaysInsideItsBuffer) {
  HWND parent = CreateTestParent();
  char buffer[8] = {'a', 'b', 'c', 0, 'Y', 'Y', 'Z', 'Z'};  // holds 5 bytes and a terminator
  HWND limited = CreateBoundControl(parent, 0, 0, 80, 20, TextEdit, "3", 1, 0, 5, buffer);
  EXPECT_EQ("abc", TextOf(limited));
  TypeText(parent, limited, "abcdefgh");  // set text is not cut by the limit
  EXPECT_STREQ("abcde", buffer);
  EXPECT_EQ('Z', buffer[6]);
  EXPECT_EQ('Z', buffer[7]);
  // The limit counts characters: four double-byte ones pass it when typed
  // or pasted, and the copy keeps whole characters only.
  SetWindowTextA(limited, "");
  SendMessageA(limited, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("ゴシック"));
  EXPECT_EQ("ゴシック", TextOf(limited));
  EXPECT_STREQ("ゴシ", buffer);
  EXPECT_EQ('Z', buffer[6]);
  EXPECT_EQ('Z', buffer[7]);
  TypeText(parent, limited, "xy");
  EXPECT_STREQ("xy", buffer);

  // Without a positive limit the buffer's size is unknown: nothing is stored.
  char unknown[4] = "abc";
  HWND unlimited = CreateBoundControl(parent, 0, 30, 80, 20, TextEdit, nullptr, 2, 0, 0, unknown);
  EXPECT_EQ("abc", TextOf(unlimited));
  TypeText(parent, unlimited, "a longer text");
  EXPECT_STREQ("abc", unknown);
  DestroyBoundControls(parent);
}

TEST(CommitBoundControl, WithoutVariableOrRecord) {
  HWND parent = CreateTestParent();
  // Unbound: the text is still corrected.
  HWND unbound = CreateBoundControl(parent, 0, 0, 60, 20, ShortEdit, nullptr, 12, 0, 3, nullptr);
  EXPECT_EQ("", TextOf(unbound));
  EXPECT_EQ("3", TypeText(parent, unbound, "5").text);
  // Unregistered: nothing happens.
  HWND loose = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 30, 60, 20, parent,
                               reinterpret_cast<HMENU>(13), nullptr, nullptr);
  EXPECT_EQ("5", TypeText(parent, loose, "5").text);
  HWND other = CreateTestParent();
  std::uint16_t word = 1;
  HWND field = CreateBoundControl(parent, 0, 60, 60, 20, ShortEdit, nullptr, 14, 0, 3, &word);
  CommitNotifications = false;
  SetWindowTextA(field, "9");
  CommitBoundControl(other, field);
  EXPECT_EQ(1, word);
  EXPECT_EQ("9", TextOf(field));

  // By id: the same commit for the control that the id finds.
  CommitBoundControlById(parent, 14);
  EXPECT_EQ(3, word);
  EXPECT_EQ("3", TextOf(field));
  CommitBoundControlById(parent, 99);
  DestroyBoundControls(parent);
  DestroyWindow(other);
}
