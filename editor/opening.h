// The ways a save file is named for opening: the open dialog, a drop on the
// window and the command line. Each gives the whole path of the file to open
// (UTF-8, at most PathBytes), or tells the user why there is none.
#ifndef ASDEDIT_EDITOR_OPENING_H
#define ASDEDIT_EDITOR_OPENING_H

#include <windows.h>

#include <shellapi.h>

// Asks for a save file with the platform's open dialog, owned by owner: true
// with its path; false when none was chosen, after telling the user when the
// dialog itself failed rather than being cancelled.
bool AskOpenPath(HWND owner, char* path);

// The first file of drop, which is released; further ones are ignored. True
// with its path; false when it holds none, or after telling the user that its
// name is too long for the platform's plain API (refused whole).
bool DroppedPath(HWND owner, HDROP drop, char* path);

// name (UTF-8) made whole, a relative one against the current folder, which
// the open dialog may change: a save must still write this file. False after
// telling the user when it cannot be: a path too long for the platform's
// plain API is refused whole, since cut short it would name another file.
bool WholePath(HWND owner, const char* name, char* path);

// Tells the user why path was not opened (a LoadSaveFile result).
void ReportOpenFailure(HWND owner, const char* path, int result);

#endif
