// Menus built from tables: a row's index in its table is its command id.
#ifndef ASDEDIT_APP_MENU_H
#define ASDEDIT_APP_MENU_H

#include <windows.h>

const UINT MenuLevelEnd = 0x80;  // last row of its level; never passed to the platform

struct MenuRow {
  const char* text;  // a program text (Shift-JIS)
  UINT flags;        // AppendMenuW flags (MF_POPUP opens a submenu) plus MenuLevelEnd
};

HMENU BuildMenu(const MenuRow* table);
HMENU FillMenu(HMENU menu, const MenuRow* table, int* row);

// The row after the level that begins at row: the level's own popups included.
constexpr int SkipMenuLevel(const MenuRow* table, int row) {
  for (;;) {
    UINT flags = table[row++].flags;
    if (flags & MF_POPUP) row = SkipMenuLevel(table, row);
    if (flags & MenuLevelEnd) return row;
  }
}

// Where row of table stands on the menu bar that BuildMenu makes of it; -1
// when the row is not on the bar itself.
constexpr int MenuBarPosition(const MenuRow* table, int row) {
  for (int i = 0, position = 0;; ++position) {
    if (i == row) return position;
    UINT flags = table[i++].flags;
    if (flags & MF_POPUP) i = SkipMenuLevel(table, i);
    if (flags & MenuLevelEnd) return -1;
  }
}

#endif
