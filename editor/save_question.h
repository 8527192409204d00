// The questions a save asks: whether to write over another program's change
// to the file, and whether to write without a backup.
#ifndef ASDEDIT_EDITOR_SAVE_QUESTION_H
#define ASDEDIT_EDITOR_SAVE_QUESTION_H

#include <windows.h>

// Asks, owned by owner, how to write over the file at path, which another
// program has changed since it was opened or saved: IDYES writes every value,
// IDNO only the edited ones, IDCANCEL (the default) nothing. A question that
// cannot be shown with the program's labels on its buttons is not asked: the
// user is told, and the answer is IDCANCEL.
int AskSaveQuestion(HWND owner, const char* path);

// Asks, owned by owner, whether to write the open file without a backup, none
// having been made for error (a system error code), named in the system's
// words: true for yes. No, the default, writes nothing.
bool AskWithoutBackup(HWND owner, DWORD error);

#endif
