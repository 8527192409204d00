// The main editor window: turn count, the 50 unit buttons and the panel with
// the selected unit's statistics; opens, saves and quits.
#include "editor/main_window.h"

#include <cstdint>

#include "app/menu.h"
#include "app/text.h"
#include "controls/controls.h"
#include "editor/item_window.h"
#include "editor/opening.h"
#include "editor/save_question.h"
#include "editor/texts.h"

namespace {

char SavePath[PathBytes];  // the file last opened (UTF-8), the target of a save
// The backup the next save makes: the first after an open is marked so, and
// is kept however many follow.
BackupMode NextBackup = WithOpenedBackup;
HWND NameBox;  // the panel; its caption names the selected unit

const DWORD MainExStyle = WS_EX_CONTROLPARENT;
const DWORD MainStyle = WS_CLIPSIBLINGS | WS_SYSMENU;
const int ClientWidth = 640;
const int ClientHeight = 480;

// The menu bar; a row's index is its command id (MainMenuRow).
// clang-format off
constexpr MenuRow MainMenuTable[] = {
    {FileMenuText,    MF_POPUP},
    {OpenMenuText,    MF_STRING},
    {SaveMenuText,    MF_GRAYED},  // until a file is open
    {SeparatorText,   MF_SEPARATOR},
    {ExitMenuText,    MF_STRING | MenuLevelEnd},
    {EditMenuText,    MF_POPUP | MF_GRAYED},  // until a file is open
    {ListMenuText,    MF_GRAYED},
    {ItemsMenuText,   MF_STRING | MenuLevelEnd},
    {HelpMenuText,    MF_POPUP | MenuLevelEnd},
    {VersionMenuText, MF_STRING | MenuLevelEnd},
};
// clang-format on

// Each named row holds its own text, and commands are neither popups nor separators.
constexpr bool RowIs(int row, const char* text, bool command) {
  return MainMenuTable[row].text == text &&
         ((MainMenuTable[row].flags & (MF_POPUP | MF_SEPARATOR)) == 0) == command;
}
static_assert(sizeof MainMenuTable / sizeof MainMenuTable[0] == MainMenuRowCount,
              "a row for every name");
static_assert(
    RowIs(FileMenuRow, FileMenuText, false) && RowIs(OpenCommandId, OpenMenuText, true) &&
        RowIs(SaveCommandId, SaveMenuText, true) && RowIs(FileSeparatorRow, SeparatorText, false) &&
        RowIs(ExitCommandId, ExitMenuText, true) && RowIs(EditMenuRow, EditMenuText, false) &&
        RowIs(ListCommandId, ListMenuText, true) && RowIs(ItemsCommandId, ItemsMenuText, true) &&
        RowIs(HelpMenuRow, HelpMenuText, false) && RowIs(VersionCommandId, VersionMenuText, true),
    "every command sits at the row its id names");
constexpr int EditMenuPosition = MenuBarPosition(MainMenuTable, EditMenuRow);
static_assert(EditMenuPosition >= 0, "\"編集(&E)\" is on the menu bar");

const int LabelStyle = WS_BORDER | SS_CENTER;
const int NoFieldLabel = -1;

// Where a control of the layout lives.
enum Place {
  InMain,     // a child of the main window, in its coordinates
  InPanel,    // a child of NameBox, in its coordinates
  OverPanel,  // a child of the main window lying over NameBox, in NameBox's coordinates
};

// Where and how large a control is.
struct Box {
  int x, y, width, height;
};

// One control of the main window, in order of creation; the builders below
// name what each kind of row holds.
struct MainControlRow {
  Place place;
  Box box;
  int kind;
  const char* text;  // caption, or a ShortEdit's option letters
  int fieldLabel;    // FieldTable row whose label is the caption instead, or NoFieldLabel
  int id;
  int param1, param2;
  std::uint16_t* bound;
  bool smallFont;
};

// A number field with a sunken edge, bound to a word held to the range of
// the GameValues row.
MainControlRow Field(Place place, Box box, int id, int row, std::uint16_t* bound) {
  return {place,        box,  ShortEdit,           EditSunken,
          NoFieldLabel, id,   GameValues[row].low, GameValues[row].high,
          bound,        false};
}
// A label with a modal frame, captioned text or, when text is null, the label
// of FieldTable row fieldLabel.
MainControlRow Caption(Place place, Box box, const char* text, int fieldLabel, int style,
                       bool smallFont) {
  return {place,   box,      Label, text, fieldLabel, LabelId, style, WS_EX_DLGMODALFRAME,
          nullptr, smallFont};
}
// A check box in the small font, bound to a word, captioned with the label of
// FieldTable row fieldLabel.
MainControlRow Check(Place place, Box box, int id, int fieldLabel, std::uint16_t* bound) {
  return {place, box, CheckBox, nullptr, fieldLabel, id, 0, 0, bound, true};
}

// NameBox, the panel along the bottom of the window.
const POINT PanelOrigin = {0, 384};
const Box PanelBox = {PanelOrigin.x, PanelOrigin.y, ClientWidth, ClientHeight - PanelOrigin.y};

// Turn count, the three small values and the panel.
const MainControlRow TopRows[] = {
    Caption(InMain, {16, 2, 80, 24}, ValueLabels[TurnCountValue], NoFieldLabel, SS_CENTER, false),
    Field(InMain, {100, 2, 32, 24}, TurnCountId, TurnCountValue, &GameState.turnCount),
    Field(InMain, {144, 2, 20, 24}, FirstSmallValueId, SmallValuesValue, &GameState.smallValues[0]),
    Field(InMain, {168, 2, 20, 24}, FirstSmallValueId + 1, SmallValuesValue,
          &GameState.smallValues[1]),
    Field(InMain, {192, 2, 20, 24}, FirstSmallValueId + 2, SmallValuesValue,
          &GameState.smallValues[2]),
    {InMain, PanelBox, GroupBox, NameBoxCaption, NoFieldLabel, LabelId, 0, 0, nullptr, false},
};

// The statistics grid: two columns of label and field, three rows of them,
// in two blocks side by side; each field begins where its label ends and
// sits a little lower.
const int GridStatCount = XRow;  // the rows before X
const int GridLeft = 104, GridTop = 16;
const int GridColumnPitch = 134, GridBlockPitch = 268, GridRowPitch = 24;
const int StatLabelWidth = 56, StatFieldWidth = 68, StatHeight = 18;
const int StatFieldDrop = 4;

// Position, charge and END? of the selected unit (unit 0 at first).
const MainControlRow PanelRows[] = {
    Caption(InPanel, {8, 18, 40, 18}, PositionLabel, NoFieldLabel, LabelStyle, true),
    Field(OverPanel, {48, 20, 24, 18}, XFieldId, XValue, GameState.statRows[XRow]),
    Field(OverPanel, {76, 20, 24, 18}, YFieldId, YValue, GameState.statRows[YRow]),
    Caption(InPanel, {8, 42, 40, 18}, nullptr, ChargeRow, LabelStyle, true),
    Field(OverPanel, {48, 44, 52, 18}, ChargeFieldId, ChargeValue, GameState.statRows[ChargeRow]),
    Check(OverPanel, {12, 64, 72, 18}, EndBoxId, EndFlagRow, GameState.statRows[EndFlagRow]),
};

// The unit buttons, in columns of five.
const int UnitLeft = 2, UnitTop = 50, UnitPitch = 64, UnitSize = 60, UnitsPerColumn = 5;

// Creates one control of the layout.
HWND CreateMainControl(HWND window, const MainControlRow& row) {
  const char* text = row.fieldLabel == NoFieldLabel ? row.text : FieldTable[row.fieldLabel].label;
  HWND parent = row.place == InPanel ? NameBox : window;
  POINT origin = row.place == OverPanel ? PanelOrigin : POINT{0, 0};
  const Box& box = row.box;
  HWND control =
      CreateBoundControl(parent, origin.x + box.x, origin.y + box.y, box.width, box.height,
                         row.kind, text, row.id, row.param1, row.param2, row.bound);
  if (row.smallFont)
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetInterfaceFont(1)), FALSE);
  return control;
}

// Every control of the main window, in the order of the layout.
void CreateMainControls(HWND window) {
  for (const MainControlRow& row : TopRows) {
    HWND control = CreateMainControl(window, row);
    if (row.kind == GroupBox) NameBox = control;
  }
  for (int i = 0; i < GridStatCount; ++i) {
    int x = GridLeft + GridBlockPitch * (i / 6) + GridColumnPitch * (i % 2);
    int y = GridTop + GridRowPitch * ((i % 6) / 2);
    CreateMainControl(
        window, Caption(InPanel, {x, y, StatLabelWidth, StatHeight}, nullptr, i, LabelStyle, true));
    Box field = {x + StatLabelWidth, y + StatFieldDrop, StatFieldWidth, StatHeight};
    CreateMainControl(
        window, Field(OverPanel, field, FirstStatId + i, StatValue(i), GameState.statRows[i]));
  }
  for (const MainControlRow& row : PanelRows) CreateMainControl(window, row);
  for (int unit = 0; unit < UnitCount; ++unit) {
    Box box = {UnitLeft + UnitPitch * (unit / UnitsPerColumn),
               UnitTop + UnitPitch * (unit % UnitsPerColumn), UnitSize, UnitSize};
    CreateMainControl(window, {InMain, box, PushButton, UnitName(unit), NoFieldLabel,
                               FirstUnitId + unit, 0, 0, nullptr, true});
  }
}

// Binds the sixteen per-unit controls to unit and names it in NameBox; the
// caller refreshes.
void SelectUnit(HWND window, int unit) {
  if (unit < 0 || unit >= UnitCount) return;
  for (int r = 0; r < StatCount; ++r)
    RebindControl(window, FirstStatId + r, &GameState.statRows[r][unit]);
  SetProgramText(NameBox, UnitName(unit));
}

// Shows GameState in window. Showing holds each value to its field's range;
// a value changed so is no edit of the player's.
void ShowValues(HWND window) {
  const GameStateData before = GameState;
  RefreshBoundControls(window);
  KeepShownValuesUnedited(before);
}

// The step every way of opening ends in: loads the whole path and makes it
// the open file, named in the title; 0, or -2 once the user has been told
// why it was refused.
int LoadFile(MorWin0* self, const char* path) {
  int result = LoadSaveFile(path);
  if (result < 0) {
    ReportOpenFailure(self->hwnd, path, result);
    return -2;
  }
  lstrcpynA(SavePath, path, sizeof SavePath);
  NextBackup = WithOpenedBackup;

  SetWindowTextW(self->hwnd, PathText(OpenTitleFormat, SavePath));

  HMENU menu = GetMenu(self->hwnd);
  EnableMenuItem(menu, SaveCommandId, MF_BYCOMMAND | MF_ENABLED);
  EnableMenuItem(menu, EditMenuPosition, MF_BYPOSITION | MF_ENABLED);
  DrawMenuBar(self->hwnd);

  SelectUnit(self->hwnd, 0);
  ShowValues(self->hwnd);
  return 0;
}

// "開く(&O)...": asks for a save file and opens it: 0, or -1 (no file
// chosen), -2 (not opened).
int OpenCommand(MorWin0* self) {
  char path[PathBytes];
  return AskOpenPath(self->hwnd, path) ? LoadFile(self, path) : -1;
}

// The user chose to write nothing.
const int NothingWritten = 1;

// Writes GameState into the open file as mode says, after a backup of the
// file; when none can be made, the user decides whether to write without
// one. Returns the store's result, or NothingWritten.
int StoreWithBackup(HWND window, StoreMode mode) {
  int result = StoreValues(SavePath, mode, NextBackup);
  if (result == BackupFailed)
    result = AskWithoutBackup(window, BackupError()) ? StoreValues(SavePath, mode, WithoutBackup)
                                                     : NothingWritten;
  // Once the file is written (a store that failed while writing had begun),
  // no later backup holds it as it was opened.
  if (result == 0 || (result <= SeekFailed && result >= CloseFailed)) NextBackup = WithBackup;
  return result;
}

// "上書き保存(&S)...": writes GameState over the file last opened, after a
// backup of it. When another program (the game) has changed a value in it
// since it was opened or last saved, the user decides first: write every
// value; write only the values edited since, over what the file holds then,
// and show the result; or, by default, write nothing, so that the next save
// asks again. Returns 0 or NothingWritten, or a store's failure.
int SaveCommand(MorWin0* self) {
  int result = StoreWithBackup(self->hwnd, UnlessChanged);
  if (result != ChangedOutside) return result;
  int answer = AskSaveQuestion(self->hwnd, SavePath);
  if (answer == IDYES) return StoreWithBackup(self->hwnd, EveryValue);
  if (answer != IDNO) return NothingWritten;
  result = StoreWithBackup(self->hwnd, EditedValues);
  if (result == 0) {
    ShowValues(self->hwnd);
    ShowValues(self->itemWindow->hwnd);
  }
  return result;
}

// Unit buttons and menu commands act; every other control notification is
// committed into the control's variable.
void MainCommand(MorWin0* self, WPARAM wParam, LPARAM lParam) {
  HWND window = self->hwnd;
  WORD command = LOWORD(wParam);
  if (command >= FirstUnitId && command <= LastUnitId) {
    SelectUnit(window, command - FirstUnitId);
    ShowValues(window);
    return;
  }
  switch (command) {
    case OpenCommandId:
      OpenCommand(self);
      ShowValues(window);
      EnableBoundControls(window, 1);
      ShowValues(self->itemWindow->hwnd);
      break;
    case SaveCommandId:
      if (SaveCommand(self) < 0)
        ProgramMessageBox(window, SaveFailedText, ErrorCaption, MB_OK | MB_ICONERROR);
      break;
    case ExitCommandId:
      if (ProgramMessageBox(window, ExitQuestion, QuestionCaption, MB_YESNO | MB_ICONQUESTION) ==
          IDYES)
        DestroyWindow(window);
      break;
    case ItemsCommandId:
      ShowWindow(self->itemWindow->hwnd, SW_SHOW);
      break;
    case VersionCommandId:
      ProgramMessageBox(window, VersionText, VersionCaption, MB_OK);
      break;
    default:
      if (lParam) CommitBoundControl(window, reinterpret_cast<HWND>(lParam));
      break;
  }
}

}  // namespace

// Creates the main window with its menu, controls and the hidden item window.
MorWin0::MorWin0() {
  hwnd = CreateObjectWindow(this, MainExStyle, MainWindowClassName, MainWindowTitle, MainStyle,
                            nullptr);
  SetMenu(hwnd, BuildMenu(MainMenuTable));
  ResizeClient(this, ClientWidth, ClientHeight, FALSE);
  CreateMainControls(hwnd);
  EnableBoundControls(hwnd, 0);
  RegisterWindowClass(ItemWindowClassName);
  itemWindow = new MorWin1(hwnd);
  DragAcceptFiles(hwnd, TRUE);
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
    case WM_DROPFILES: {
      char path[PathBytes];
      if (DroppedPath(hwnd, reinterpret_cast<HDROP>(wParam), path)) OpenNamedFile(this, path);
      return 0;
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void OpenNamedFile(MorWin0* window, const char* name) {
  char path[PathBytes];
  if (!WholePath(window->hwnd, name, path) || LoadFile(window, path) < 0) return;
  EnableBoundControls(window->hwnd, 1);
  ShowValues(window->itemWindow->hwnd);
}
