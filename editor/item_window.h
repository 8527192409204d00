// The item window: the 54 counters of the save file.
#ifndef ASDEDIT_EDITOR_ITEM_WINDOW_H
#define ASDEDIT_EDITOR_ITEM_WINDOW_H

#include "app/window.h"

const char ItemWindowClassName[] = "MorWin1";

// Ids of the item window's controls: counter k's field is FirstCounterId + k.
enum ItemControlId {
  TileId = 0,  // the tiles and the side label
  FirstCounterId = 1,
  BackButtonId = 56,
  FillButtonId = 57
};

class MorWin1 : public Window {
public:
  explicit MorWin1(HWND owner);  // hidden, owned by owner
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

#endif
