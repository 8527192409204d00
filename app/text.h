// Text at the platform boundary. Every text reaches the platform as UTF-16:
// the program's own texts are Shift-JIS and converted from code page 932 by
// name, never through the system's ANSI code page, so that they read the same
// under any system locale; paths are kept as UTF-8, which names every file
// the platform can name.
#ifndef ASDEDIT_APP_TEXT_H
#define ASDEDIT_APP_TEXT_H

#include <windows.h>

// The code page of the program's own texts: every target is compiled with a
// CP932 execution character set, so its string literals are Shift-JIS.
const UINT ProgramCodePage = 932;

// The most UTF-16 units, with the terminator, of a program text at the platform.
const int TextUnits = 256;

// The largest path the platform's plain API opens, in UTF-16 units with the
// terminator, and the most UTF-8 bytes it can take (three for each unit).
const int PathUnits = MAX_PATH;
const int PathBytes = 3 * MAX_PATH;

// text in codePage (CP_UTF8 for paths) as UTF-16 in wide, at most size units
// with the terminator. False, with wide empty, when text is not valid in
// codePage or does not fit: a path is never cut to another name.
bool ToWide(const char* text, UINT codePage, wchar_t* wide, int size);

// wide as UTF-8 in text, at most size bytes with the terminator; false, with
// text empty, when wide is not valid UTF-16 or does not fit.
bool ToUtf8(const wchar_t* wide, char* text, int size);

// A program text at the platform: converted to UTF-16 once, and usable
// wherever a const wchar_t* is wanted. Empty when text is not Shift-JIS or
// does not fit.
struct ProgramText {
  explicit ProgramText(const char* text);
  operator const wchar_t*() const { return units; }  // NOLINT(google-explicit-constructor)
  wchar_t units[TextUnits];
};

// A program text with a path: format (Shift-JIS, with one %s) filled with path
// (UTF-8), which it shows exactly.
struct PathText {
  PathText(const char* format, const char* path);
  operator const wchar_t*() const { return units; }  // NOLINT(google-explicit-constructor)
  wchar_t units[TextUnits + PathUnits];
};

// A program text with the system's words for an error: format (Shift-JIS,
// with one %s) filled with what the system says of error (a GetLastError
// code) in the user's language, without its closing full stop; where the
// error is 0 or the system has no words for it, with unknown (Shift-JIS, with
// one %lu for the code).
struct ReasonText {
  ReasonText(const char* format, DWORD error, const char* unknown);
  operator const wchar_t*() const { return units; }  // NOLINT(google-explicit-constructor)
  wchar_t units[2 * TextUnits];
};

// A program text as a window's text or caption.
BOOL SetProgramText(HWND window, const char* text);

// A message box of program texts, owned by owner.
int ProgramMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// A message box owned by owner whose text is format (a program text, with one
// %s) filled with path (UTF-8), which it shows exactly.
int PathMessageBox(HWND owner, const char* format, const char* path, const char* caption,
                   UINT type);

#endif
