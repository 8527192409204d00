// UTF-8 and UTF-16, for every program: texts and paths are UTF-8 inside the
// programs and UTF-16 at Windows. Standard C++, with no call of the
// platform, so that it works alike on every Windows from XP on and natively.
// UTF-16 units are held in wchar_t, two bytes on Windows.
#ifndef ASDEDIT_CORE_UTF_H
#define ASDEDIT_CORE_UTF_H

#include <cstddef>

// text (UTF-8) as UTF-16 in wide, at most size units with the terminator.
// False, with wide empty, when text is no UTF-8 or does not fit: a path is
// never cut to another name.
bool Utf8ToUtf16(const char* text, wchar_t* wide, std::size_t size);

// wide (UTF-16) as UTF-8 in text, at most size bytes with the terminator.
// False, with text empty, when a surrogate of wide stands alone (no character
// of any file name) or it does not fit. Three bytes for each unit always fit.
bool Utf16ToUtf8(const wchar_t* wide, char* text, std::size_t size);

#endif
