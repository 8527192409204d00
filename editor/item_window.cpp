// The item window: a grid of 54 tiles, one counter field each, that fills
// every counter at once and hides itself again.
#include "editor/item_window.h"

#include <cstdint>

#include "controls/controls.h"
#include "editor/savefile.h"

namespace {

const char ItemClassName[] = "MorWin1";
const char ItemTitle[] = "アイテム一覧";
const DWORD ItemExStyle = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;
const DWORD ItemStyle = WS_CLIPSIBLINGS | WS_DLGFRAME | DS_MODALFRAME;

const int BackButtonId = 56;
const int FillButtonId = 57;
const std::uint16_t CounterMax = 99;

// The grid: 9 columns of 6 tiles of 64 x 64, filled column by column.
const int GridRows = 6;
const int TilePitch = 64;

// One fixed control beside or below the grid.
struct ItemControlRow {
  int x, y, width, height;
  int kind;
  const char* text;
  int id;
  int param1, param2;
};

// The side label's words are parted by five ideographic spaces each.
const ItemControlRow ItemButtonRows[] = {
    {576,  56,  64,  80, Label,      "アイテム　　　　　一覧　　　　　ＭＯＤＥ", 0,           SS_CENTER, 0},
    {580, 196,  56, 184, PushButton, "もどる",                                   BackButtonId, 0,         0},
    {  4, 388, 632,  88, PushButton, "まんたん",                                 FillButtonId, BS_CENTER, 0},
};

}  // namespace

// Creates the hidden item window, owned by the main window.
MorWin1::MorWin1(HWND owner) {
  hwnd = CreateObjectWindow(this, ItemExStyle, ItemClassName, ItemTitle, ItemStyle, owner);
  ResizeClient(this, 640, 480, FALSE);
  CreateItemControls(hwnd);
}

LRESULT MorWin1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      break;
    case WM_COMMAND:
      ItemCommand(hwnd, wParam, lParam);
      return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Each tile is followed by its counter field in the tile's lower right corner.
void CreateItemControls(HWND window) {
  for (int k = 0; k < CounterCount; ++k) {
    int x = TilePitch * (k / GridRows);
    int y = TilePitch * (k % GridRows);
    CreateBoundControl(window, x + 1, y + 1, 62, 62, Label, ItemLabels[k], 0, SS_CENTER,
                       WS_EX_DLGMODALFRAME, nullptr);
    CreateBoundControl(window, x + 33, y + 41, 28, 20, ShortEdit, "B", k + 1, 0, CounterMax,
                       &GameState.counters[k]);
  }
  for (const ItemControlRow& row : ItemButtonRows)
    CreateBoundControl(window, row.x, row.y, row.width, row.height, row.kind, row.text, row.id,
                       row.param1, row.param2, nullptr);
}

// The two buttons act; every other notification of a field is committed.
void ItemCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case BackButtonId:
      ShowWindow(window, SW_HIDE);
      break;
    case FillButtonId:
      for (std::uint16_t& counter : GameState.counters) counter = CounterMax;
      RefreshBoundControls(window);
      break;
    default:
      if (lParam) CommitBoundControl(window, reinterpret_cast<HWND>(lParam));
      break;
  }
}
