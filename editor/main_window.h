// The main editor window: turn count, unit selector and per-unit statistics.
#ifndef ASDEDIT_EDITOR_MAIN_WINDOW_H
#define ASDEDIT_EDITOR_MAIN_WINDOW_H

#include "app/menu.h"
#include "app/window.h"
#include "editor/item_window.h"

extern char SavePath[260];
extern HWND NameBox;
extern const char* const HeroNames[8];
extern const MenuRow MainMenuTable[10];

class MorWin0 : public Window {
public:
  MorWin0();
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  MorWin1* itemWindow = nullptr;
};

void CreateMainControls(HWND window);
void MainCommand(MorWin0* self, WPARAM wParam, LPARAM lParam);
void SelectUnit(HWND window, int unit);
int OpenCommand(MorWin0* self);
int SaveCommand(MorWin0* self);
char* AskOpenPath(HWND owner, DWORD size, char* buffer, const char* filter);

#endif
