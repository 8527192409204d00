// Menus built from tables: a row's index in its table is its command id.
#ifndef ASDEDIT_APP_MENU_H
#define ASDEDIT_APP_MENU_H

#include <windows.h>

const UINT MenuLevelEnd = 0x80;  // last row of its level; never passed to the platform

struct MenuRow {
  const char* text;
  UINT flags;  // AppendMenuA flags (MF_POPUP opens a submenu) plus MenuLevelEnd
};

HMENU BuildMenu(const MenuRow* table);
HMENU FillMenu(HMENU menu, const MenuRow* table, int* row);

#endif
