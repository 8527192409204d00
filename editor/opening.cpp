// The ways a save file is named for opening, and why one was not opened.
#include "editor/opening.h"

#include <commdlg.h>

#include "app/text.h"
#include "core/savefile.h"
#include "editor/texts.h"

bool AskOpenPath(HWND owner, char* path) {
  // The dialog has no read-only box: the editor has no read-only mode.
  wchar_t wide[PathUnits] = {};
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;  // the record as Windows 95 knew it
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = OpenFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = wide;
  dialog.nMaxFile = PathUnits;
  dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (GetOpenFileNameW(&dialog)) return ToUtf8(wide, path, PathBytes);
  if (CommDlgExtendedError())
    ProgramMessageBox(owner, DialogFailedText, ErrorCaption, MB_OK | MB_ICONERROR);
  return false;
}

bool DroppedPath(HWND owner, HDROP drop, char* path) {
  wchar_t wide[PathUnits] = {};
  UINT length = DragQueryFileW(drop, 0, nullptr, 0);
  bool fits = length > 0 && length < PathUnits && DragQueryFileW(drop, 0, wide, PathUnits) > 0;
  DragFinish(drop);
  if (fits && ToUtf8(wide, path, PathBytes)) return true;
  // A name too long to hold, or not whole UTF-16, is named nowhere: it would be cut or mended.
  if (length > 0) ProgramMessageBox(owner, DialogFailedText, ErrorCaption, MB_OK | MB_ICONERROR);
  return false;
}

bool WholePath(HWND owner, const char* name, char* path) {
  wchar_t wide[PathUnits];
  wchar_t full[PathUnits];
  DWORD length =
      ToWide(name, CP_UTF8, wide, PathUnits) ? GetFullPathNameW(wide, PathUnits, full, nullptr) : 0;
  if (length > 0 && length < PathUnits && ToUtf8(full, path, PathBytes)) return true;
  ReportOpenFailure(owner, name, OpenFailed);
  return false;
}

void ReportOpenFailure(HWND owner, const char* path, int result) {
  const char* format = result == HeaderMismatch ? NotSaveFileFormat
                       : result == FileTooShort ? FileTooShortFormat
                                                : OpenFailedFormat;
  PathMessageBox(owner, format, path, ErrorCaption, MB_OK | MB_ICONERROR);
}
