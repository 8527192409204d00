// The main editor window: turn count, the 50 unit buttons and the panel with
// the selected unit's statistics; opens, saves and quits.
#include "editor/main_window.h"

#include <commdlg.h>

#include <cstdint>

#include "controls/controls.h"
#include "editor/savefile.h"

char SavePath[260];
HWND NameBox;

// Row index = command id.
const MenuRow MainMenuTable[10] = {
    {"ﾌｧｲﾙ(&F)",          MF_POPUP},
    {"開く(&O)...",       MF_STRING},
    {"上書き保存(&S)...", MF_GRAYED},
    {"-",                 MF_SEPARATOR},
    {"終了(&E)",          MF_STRING | MenuLevelEnd},
    {"編集(&E)",          MF_POPUP | MF_GRAYED},
    {"リスト表示(&L)",    MF_GRAYED},
    {"アイテム(&I)",      MF_STRING | MenuLevelEnd},
    {"ヘルプ(&H)",        MF_POPUP | MenuLevelEnd},
    {"ﾊﾞｰｼﾞｮﾝ情報(&V)",   MF_STRING | MenuLevelEnd},
};

namespace {

const char MainClassName[] = "MorWin0";
const char MainTitle[] = "モルダン・ピクセリオン - Save Editor ver 0.5";
const char OpenTitleFormat[] = "モルダン・ピクセリオン - Save Editor ver 0.5 (%s)";
const char OpenFilter[] = "Save Data(*s?.asd)\0*.asd\0All(*.*)\0*.*\0";
const char ExitQuestion[] = "終了しますか？";
const char ExitCaption[] = "確認";
const char VersionCaption[] = "ﾊﾞｰｼﾞｮﾝ情報";
const char VersionText[] =
    "モルダン・ピクセリオン Save Editor ver 0.5\n"
    "制作　月影ソフト工房　1997";
const char SaveFailedText[] = "上書き保存に失敗しました。";
const char SaveFailedCaption[] = "エラー";
const char EnemyName[] = "敵";

const DWORD MainExStyle = WS_EX_CONTROLPARENT;
const DWORD MainStyle = WS_CLIPSIBLINGS | WS_SYSMENU;

// Menu commands (rows of MainMenuTable).
const WORD OpenId = 1;
const WORD SaveId = 2;
const WORD ExitId = 4;
const WORD ItemsId = 7;
const WORD VersionId = 9;

// Control ids: the per-unit controls are 16 + statRows row.
const int LabelId = 11;
const int FirstStatId = 16;
const int FirstUnitId = 33;
const int LastUnitId = FirstUnitId + UnitCount - 1;
const int HeroCount = 8;
const int NoFieldLabel = -1;

const int LabelStyle = WS_BORDER | SS_CENTER;

// One control of the main window, in order of creation.
struct MainControlRow {
  bool inNameBox;  // a child of NameBox rather than of the main window
  int x, y, width, height;
  int kind;
  const char* text;  // caption, or a ShortEdit's option letters
  int fieldLabel;    // FieldTable row whose label is the caption instead, or NoFieldLabel
  int id;
  int param1, param2;
  std::uint16_t* bound;
  bool smallFont;
};

// Turn count, the three small values and the panel.
const MainControlRow TopRows[] = {
    {false,  16,   2,  80, 24, Label,     "ターン数", NoFieldLabel, LabelId, SS_CENTER, WS_EX_DLGMODALFRAME, nullptr, false},
    {false, 100,   2,  32, 24, ShortEdit, "3",        NoFieldLabel, 12,      0, 65535, &GameState.turnCount,      false},
    {false, 144,   2,  20, 24, ShortEdit, "3",        NoFieldLabel, 13,      0, 3,     &GameState.smallValues[0], false},
    {false, 168,   2,  20, 24, ShortEdit, "3",        NoFieldLabel, 14,      0, 3,     &GameState.smallValues[1], false},
    {false, 192,   2,  20, 24, ShortEdit, "3",        NoFieldLabel, 15,      0, 3,     &GameState.smallValues[2], false},
    {false,   0, 384, 640, 96, GroupBox,  "NAME",     NoFieldLabel, LabelId, 0, 0,     nullptr,                   false},
};

// Position, charge and END? of the selected unit (unit 0 at first).
const MainControlRow PanelRows[] = {
    {true,   8,  18, 40, 18, Label,     "座標", NoFieldLabel, LabelId, LabelStyle, WS_EX_DLGMODALFRAME, nullptr, true},
    {false, 48, 404, 24, 18, ShortEdit, "3",    NoFieldLabel, 28,      0, 9,     GameState.statRows[12], false},
    {false, 76, 404, 24, 18, ShortEdit, "3",    NoFieldLabel, 29,      0, 4,     GameState.statRows[13], false},
    {true,   8,  42, 40, 18, Label,     nullptr, 14,          LabelId, LabelStyle, WS_EX_DLGMODALFRAME, nullptr, true},
    {false, 48, 428, 52, 18, ShortEdit, "3",    NoFieldLabel, 30,      0, 65535, GameState.statRows[14], false},
    {false, 12, 448, 72, 18, CheckBox,  nullptr, 15,          31,      0, 0,     GameState.statRows[15], true},
};

// The caption of a unit's button and of NameBox while it is selected.
const char* UnitName(int unit) { return unit < HeroCount ? HeroNames[unit] : EnemyName; }

// Creates one control of the layout.
HWND CreateMainControl(HWND window, const MainControlRow& row) {
  const char* text = row.fieldLabel == NoFieldLabel ? row.text : FieldTable[row.fieldLabel].label;
  HWND control = CreateBoundControl(row.inNameBox ? NameBox : window, row.x, row.y, row.width,
                                    row.height, row.kind, text, row.id, row.param1, row.param2,
                                    row.bound);
  if (row.smallFont)
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetInterfaceFont(1)), FALSE);
  return control;
}

}  // namespace

// Creates the main window with its menu, controls and the hidden item window.
MorWin0::MorWin0() {
  hwnd = CreateObjectWindow(this, MainExStyle, MainClassName, MainTitle, MainStyle, nullptr);
  SetMenu(hwnd, BuildMenu(MainMenuTable));
  ResizeClient(this, 640, 480, FALSE);
  CreateMainControls(hwnd);
  EnableBoundControls(hwnd, 0);
  RegisterItemWindowClass();
  itemWindow = new MorWin1(hwnd);
  ShowWindow(hwnd, SW_SHOW);
  UpdateWindow(hwnd);
}

LRESULT MorWin0::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      break;
    case WM_COMMAND:
      MainCommand(this, wParam, lParam);
      return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Every control of the main window, in the order of the layout.
void CreateMainControls(HWND window) {
  for (const MainControlRow& row : TopRows) {
    HWND control = CreateMainControl(window, row);
    if (row.kind == GroupBox) NameBox = control;
  }
  // The statistics grid: each label inside NameBox, its field to its right.
  for (int i = 0; i < 12; ++i) {
    int x = 104 + 268 * (i / 6) + 134 * (i % 2);
    int y = 16 + 24 * ((i % 6) / 2);
    CreateMainControl(window, {true, x, y, 56, 18, Label, nullptr, i, LabelId, LabelStyle,
                               WS_EX_DLGMODALFRAME, nullptr, true});
    CreateMainControl(window, {false, x + 56, y + 388, 68, 18, ShortEdit, "3", NoFieldLabel,
                               FirstStatId + i, i == 0 ? 1 : 0, 65535, GameState.statRows[i],
                               false});
  }
  for (const MainControlRow& row : PanelRows) CreateMainControl(window, row);
  // The unit buttons, 5 to a column.
  for (int unit = 0; unit < UnitCount; ++unit)
    CreateMainControl(window, {false, 2 + 64 * (unit / 5), 50 + 64 * (unit % 5), 60, 60,
                               PushButton, UnitName(unit), NoFieldLabel, FirstUnitId + unit, 0, 0,
                               nullptr, true});
}

// Unit buttons and menu commands act; every other control notification is
// committed into the control's variable.
void MainCommand(MorWin0* self, WPARAM wParam, LPARAM lParam) {
  HWND window = self->hwnd;
  WORD command = LOWORD(wParam);
  if (command >= FirstUnitId && command <= LastUnitId) {
    SelectUnit(window, command - FirstUnitId);
    RefreshBoundControls(window);
    return;
  }
  switch (command) {
    case OpenId:
      OpenCommand(self);
      RefreshBoundControls(window);
      EnableBoundControls(window, 1);
      RefreshBoundControls(self->itemWindow->hwnd);
      break;
    case SaveId:
      if (SaveCommand(self) < 0)
        MessageBoxA(window, SaveFailedText, SaveFailedCaption, MB_OK | MB_ICONERROR);
      break;
    case ExitId:
      if (MessageBoxA(window, ExitQuestion, ExitCaption, MB_YESNO | MB_ICONQUESTION) == IDYES)
        DestroyWindow(window);
      break;
    case ItemsId:
      ShowWindow(self->itemWindow->hwnd, SW_SHOW);
      break;
    case VersionId:
      MessageBoxA(window, VersionText, VersionCaption, MB_OK);
      break;
    default:
      if (lParam) CommitBoundControl(window, reinterpret_cast<HWND>(lParam));
      break;
  }
}

// Binds the sixteen per-unit controls to unit and names it in NameBox; the
// caller refreshes.
void SelectUnit(HWND window, int unit) {
  if (unit < 0 || unit >= UnitCount) return;
  for (int r = 0; r < StatCount; ++r)
    RebindControl(window, FirstStatId + r, &GameState.statRows[r][unit]);
  SetWindowTextA(NameBox, UnitName(unit));
}

// Asks for a save file and loads it: 0, or -1 (no file chosen), -2 (not loaded).
int OpenCommand(MorWin0* self) {
  char path[260] = {};
  if (!AskOpenPath(self->hwnd, sizeof path, path, OpenFilter)) return -1;
  if (LoadSaveFile(path) < 0) return -2;
  lstrcpynA(SavePath, path, sizeof SavePath);

  char title[sizeof OpenTitleFormat + sizeof SavePath];
  wsprintfA(title, OpenTitleFormat, SavePath);
  SetWindowTextA(self->hwnd, title);

  HMENU menu = GetMenu(self->hwnd);
  EnableMenuItem(menu, SaveId, MF_BYCOMMAND | MF_ENABLED);
  EnableMenuItem(menu, 1, MF_BYPOSITION | MF_ENABLED);  // "編集(&E)" on the bar
  DrawMenuBar(self->hwnd);

  SelectUnit(self->hwnd, 0);
  RefreshBoundControls(self->hwnd);
  return 0;
}

// Writes GameState over the file last opened.
int SaveCommand(MorWin0*) { return StoreSaveFile(SavePath); }

// The platform's open dialog; the buffer with the chosen path, or null.
char* AskOpenPath(HWND owner, DWORD size, char* buffer, const char* filter) {
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;  // the record as Windows 95 knew it
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = buffer;
  dialog.nMaxFile = size;
  dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  return GetOpenFileNameA(&dialog) ? buffer : nullptr;
}
