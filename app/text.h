// Text at the platform boundary. The program keeps paths as UTF-8, which
// names every file the platform can name; the platform takes them as UTF-16.
#ifndef ASDEDIT_APP_TEXT_H
#define ASDEDIT_APP_TEXT_H

#include <windows.h>

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

#endif
