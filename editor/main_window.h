// The main editor window: turn count, unit selector and per-unit statistics.
#ifndef ASDEDIT_EDITOR_MAIN_WINDOW_H
#define ASDEDIT_EDITOR_MAIN_WINDOW_H

#include "app/window.h"
#include "core/savefile.h"

class MorWin1;

const char MainWindowClassName[] = "MorWin0";

// The rows of the main menu; a row's index is its command id.
enum MainMenuRow {
  FileMenuRow,
  OpenCommandId,
  SaveCommandId,
  FileSeparatorRow,
  ExitCommandId,
  EditMenuRow,
  ListCommandId,
  ItemsCommandId,
  HelpMenuRow,
  VersionCommandId,
  MainMenuRowCount
};

// Ids of the main window's controls. The sixteen per-unit controls are
// FirstStatId + their statRows row; the unit buttons FirstUnitId + unit.
enum MainControlId {
  LabelId = 11,  // every label and the group box
  TurnCountId = 12,
  FirstSmallValueId = 13,
  FirstStatId = 16,
  XFieldId = FirstStatId + XRow,
  YFieldId = FirstStatId + YRow,
  ChargeFieldId = FirstStatId + ChargeRow,
  EndBoxId = FirstStatId + EndFlagRow,
  FirstUnitId = 33,
  LastUnitId = FirstUnitId + UnitCount - 1
};

class MorWin0 : public Window {
public:
  MorWin0();
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  MorWin1* itemWindow = nullptr;  // hidden until "アイテム(&I)"
};

// Opens the file name (UTF-8) names, on the command line or dropped on the
// window; a refused file is reported and changes nothing.
void OpenNamedFile(MorWin0* window, const char* name);

#endif
