// The item window: a grid of 54 tiles, one counter field each, that fills
// every counter at once and hides itself again.
#include "editor/item_window.h"

#include <cstdint>

#include "controls/controls.h"
#include "core/savefile.h"
#include "editor/texts.h"

namespace {

const DWORD ItemExStyle = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;
const DWORD ItemStyle = WS_CLIPSIBLINGS | WS_DLGFRAME | DS_MODALFRAME;
const int ClientWidth = 640;
const int ClientHeight = 480;

// The grid: 9 columns of 6 tiles of 64 x 64, filled column by column; each
// tile holds its counter field in its lower right corner.
const int GridRows = 6;
const int TilePitch = 64;
const RECT TileBox = {1, 1, 63, 63};
const RECT FieldBox = {33, 41, 61, 61};

// One fixed control beside or below the grid.
struct ItemControlRow {
  int x, y, width, height;
  int kind;
  const char* text;
  int id;
  int param1, param2;
};

// clang-format off
const ItemControlRow ItemButtonRows[] = {
    {576,  56,  64,  80, Label,      ItemSideLabel,  TileId,       SS_CENTER, 0},
    {580, 196,  56, 184, PushButton, BackButtonText, BackButtonId, 0,         0},
    {  4, 388, 632,  88, PushButton, FillButtonText, FillButtonId, BS_CENTER, 0},
};
// clang-format on

// The row of GameValues of counter k: an item's or a monster's.
const GameValue& CounterRange(int k) {
  return GameValues[k < ItemCounterCount ? ItemCountersValue : MonsterCountersValue];
}

// Creates a control at box, moved by (x, y).
HWND CreateInBox(HWND window, int x, int y, const RECT& box, int kind, const char* text, int id,
                 int param1, int param2, void* bound) {
  return CreateBoundControl(window, x + box.left, y + box.top, box.right - box.left,
                            box.bottom - box.top, kind, text, id, param1, param2, bound);
}

// Each tile is followed by its counter field.
void CreateItemControls(HWND window) {
  for (int k = 0; k < CounterCount; ++k) {
    int x = TilePitch * (k / GridRows);
    int y = TilePitch * (k % GridRows);
    CreateInBox(window, x, y, TileBox, Label, ItemLabels[k], TileId, SS_CENTER, WS_EX_DLGMODALFRAME,
                nullptr);
    const GameValue& range = CounterRange(k);
    CreateInBox(window, x, y, FieldBox, ShortEdit, EditBorder, FirstCounterId + k, range.low,
                range.high, &GameState.counters[k]);
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
      for (int k = 0; k < CounterCount; ++k) GameState.counters[k] = CounterRange(k).high;
      RefreshBoundControls(window);
      break;
    default:
      if (lParam) CommitBoundControl(window, reinterpret_cast<HWND>(lParam));
      break;
  }
}

}  // namespace

MorWin1::MorWin1(HWND owner) {
  hwnd =
      CreateObjectWindow(this, ItemExStyle, ItemWindowClassName, ItemWindowTitle, ItemStyle, owner);
  ResizeClient(this, ClientWidth, ClientHeight, FALSE);
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
    case WM_CLOSE:  // Alt+F4: hidden, as "もどる" hides it; the editor goes on with its values
      ShowWindow(hwnd, SW_HIDE);
      return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}
