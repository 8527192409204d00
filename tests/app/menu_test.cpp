// Menu bars built from MenuRow tables, read back through the platform.
#include "app/menu.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string TextAt(HMENU menu, int position) {
  char text[64] = "";
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

UINT StateAt(HMENU menu, int position) {
  return GetMenuState(menu, position, MF_BYPOSITION);
}

TEST(MenuTables, RowIndexIsTheIdAndMarksCloseLevels) {
  const MenuRow table[] = {
      {"ﾌｧｲﾙ(&F)", MF_POPUP},                     // 0
      {"開く(&O)...", 0},                          // 1
      {"上書き保存(&S)...", MF_GRAYED},            // 2
      {"-", MF_SEPARATOR},                         // 3
      {"終了(&E)", MenuLevelEnd},                  // 4
      {"編集(&E)", MF_POPUP | MF_GRAYED},          // 5
      {"リスト表示(&L)", MF_GRAYED},               // 6
      {"アイテム(&I)", MenuLevelEnd},              // 7
      {"ヘルプ(&H)", MF_POPUP | MenuLevelEnd},     // 8
      {"ﾊﾞｰｼﾞｮﾝ情報(&V)", MenuLevelEnd},          // 9
  };
  HMENU bar = BuildMenu(table);
  ASSERT_EQ(GetMenuItemCount(bar), 3);
  EXPECT_EQ(TextAt(bar, 0), "ﾌｧｲﾙ(&F)");
  EXPECT_EQ(TextAt(bar, 2), "ヘルプ(&H)");
  EXPECT_TRUE(StateAt(bar, 1) & MF_GRAYED);
  EXPECT_FALSE(StateAt(bar, 0) & MF_GRAYED);

  HMENU file = GetSubMenu(bar, 0);
  HMENU edit = GetSubMenu(bar, 1);
  HMENU help = GetSubMenu(bar, 2);
  ASSERT_TRUE(file && edit && help);
  ASSERT_EQ(GetMenuItemCount(file), 4);
  ASSERT_EQ(GetMenuItemCount(edit), 2);
  ASSERT_EQ(GetMenuItemCount(help), 1);
  EXPECT_EQ(GetMenuItemID(file, 0), 1u);
  EXPECT_EQ(GetMenuItemID(file, 1), 2u);
  EXPECT_EQ(GetMenuItemID(file, 2), 3u);  // the separator takes its row's id
  EXPECT_EQ(GetMenuItemID(file, 3), 4u);
  EXPECT_EQ(GetMenuItemID(edit, 0), 6u);
  EXPECT_EQ(GetMenuItemID(edit, 1), 7u);
  EXPECT_EQ(GetMenuItemID(help, 0), 9u);

  EXPECT_TRUE(StateAt(file, 1) & MF_GRAYED);
  EXPECT_TRUE(StateAt(file, 2) & MF_SEPARATOR);
  // The level mark 0x80 is MF_HILITE to the platform: it must not get there.
  EXPECT_FALSE(StateAt(file, 3) & (MF_HILITE | MF_GRAYED));
  EXPECT_FALSE(StateAt(bar, 2) & MF_HILITE);
  DestroyMenu(bar);
}

TEST(MenuTables, MarkedPopupClosesItsLevelAfterItsOwnRows) {
  const MenuRow table[] = {
      {"A", MF_POPUP},                  // 0
      {"a1", 0},                        // 1
      {"Sub", MF_POPUP | MenuLevelEnd}, // 2: the last entry of A
      {"s1", 0},                        // 3
      {"s2", MenuLevelEnd},             // 4
      {"B", MF_POPUP | MenuLevelEnd},   // 5
      {"b1", MenuLevelEnd},             // 6
  };
  HMENU bar = BuildMenu(table);
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  HMENU a = GetSubMenu(bar, 0);
  HMENU b = GetSubMenu(bar, 1);
  ASSERT_TRUE(a && b);
  ASSERT_EQ(GetMenuItemCount(a), 2);
  EXPECT_EQ(GetMenuItemID(a, 0), 1u);
  HMENU sub = GetSubMenu(a, 1);
  ASSERT_NE(sub, nullptr);
  ASSERT_EQ(GetMenuItemCount(sub), 2);
  EXPECT_EQ(GetMenuItemID(sub, 0), 3u);
  EXPECT_EQ(GetMenuItemID(sub, 1), 4u);
  ASSERT_EQ(GetMenuItemCount(b), 1);
  EXPECT_EQ(GetMenuItemID(b, 0), 6u);
  DestroyMenu(bar);
}

}  // namespace
