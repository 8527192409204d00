// Menus built from MenuRow tables.
#include "app/menu.h"

#include "app/text.h"

// A menu bar holding every row of table.
HMENU BuildMenu(const MenuRow* table) {
  HMENU bar = CreateMenu();
  int row = 0;
  return FillMenu(bar, table, &row);
}

// Appends rows from *row on to menu until a row marked MenuLevelEnd; a popup
// row first consumes its own rows, so its mark ends the level holding it.
HMENU FillMenu(HMENU menu, const MenuRow* table, int* row) {
  for (;;) {
    int i = (*row)++;
    UINT flags = table[i].flags & ~MenuLevelEnd;
    UINT_PTR item = static_cast<UINT_PTR>(i);
    if (flags & MF_POPUP)
      item = reinterpret_cast<UINT_PTR>(FillMenu(CreatePopupMenu(), table, row));
    AppendMenuW(menu, flags, item, ProgramText(table[i].text));
    if (table[i].flags & MenuLevelEnd) return menu;
  }
}
