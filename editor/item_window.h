// The item window: the 54 counters of the save file.
#ifndef ASDEDIT_EDITOR_ITEM_WINDOW_H
#define ASDEDIT_EDITOR_ITEM_WINDOW_H

#include "app/window.h"

extern const char* const ItemLabels[54];

class MorWin1 : public Window {
public:
  explicit MorWin1(HWND owner);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

void CreateItemControls(HWND window);
void ItemCommand(HWND window, WPARAM wParam, LPARAM lParam);

#endif
