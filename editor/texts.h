// Every text the editor's two windows show, in one place. The sources are
// UTF-8; the program is compiled with a Shift-JIS execution character set, so
// these are Shift-JIS byte strings in the program (code page 932), which
// reach the platform converted to UTF-16.
#ifndef ASDEDIT_EDITOR_TEXTS_H
#define ASDEDIT_EDITOR_TEXTS_H

#include "core/savefile.h"

// The main window: titles, menu rows, the open dialog's file types.
extern const char MainWindowTitle[];
extern const char OpenTitleFormat[];  // the title with the open file's path
extern const char FileMenuText[];
extern const char OpenMenuText[];
extern const char SaveMenuText[];
extern const char SeparatorText[];
extern const char ExitMenuText[];
extern const char EditMenuText[];
extern const char ListMenuText[];
extern const char ItemsMenuText[];
extern const char HelpMenuText[];
extern const char VersionMenuText[];
extern const wchar_t OpenFilter[];  // pairs of NUL-terminated description and pattern, then a NUL

// The editor's label of each row of GameValues, "" where it shows none
// (core/values.inc).
extern const char* const ValueLabels[GameValueCount];
// The label (6 bytes, blank-filled) and file offset of each statRows row.
struct FieldRow {
  const char* label;
  std::int32_t offset;
};
extern const FieldRow FieldTable[StatCount];

// The main window's labels and unit names. Units from HeroCount on are enemies.
const int HeroCount = 8;
extern const char NameBoxCaption[];
extern const char PositionLabel[];
extern const char* const HeroNames[HeroCount];
extern const char EnemyName[];
// The name of a unit, on its button and in the panel while it is selected.
const char* UnitName(int unit);

// The main window's message boxes.
extern const char ExitQuestion[];
extern const char QuestionCaption[];
extern const char VersionCaption[];
extern const char VersionText[];
extern const char ErrorCaption[];
extern const char FailedStartFormat[];  // a window could not be made; %s is the system's reason
extern const char SaveFailedText[];
// Another program has changed the open file since it was opened or saved; %s is its path.
// The question's buttons: write every value, only the edited ones, nothing.
extern const char ChangedOutsideFormat[];
extern const char WriteAllLabel[];
extern const char WriteEditsLabel[];
extern const char WriteNothingLabel[];
// The save question could not be shown with the program's labels: nothing was written.
extern const char SaveQuestionFailedText[];
// No backup of the open file could be made: %s is why, in the system's words, or
// SystemErrorFormat with the system's error code where it has none.
extern const char BackupFailedFormat[];
extern const char SystemErrorFormat[];
// Why a chosen, dropped or given file was not opened; %s is its path.
extern const char OpenFailedFormat[];
extern const char NotSaveFileFormat[];
extern const char FileTooShortFormat[];
extern const char DialogFailedText[];  // the open dialog itself failed

// The item window: one tile per counter, item kinds first, then monster kinds.
extern const char ItemWindowTitle[];
extern const char* const ItemLabels[CounterCount];
extern const char ItemSideLabel[];
extern const char BackButtonText[];
extern const char FillButtonText[];

#endif
