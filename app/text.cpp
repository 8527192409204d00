// Conversions between the program's text and the platform's UTF-16.
#include "app/text.h"

namespace {

bool IsHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Whether every surrogate of wide stands in a pair: the UTF-16 that names a
// character throughout.
bool IsWholeUtf16(const wchar_t* wide) {
  for (; *wide; ++wide) {
    if (IsHighSurrogate(*wide) && IsLowSurrogate(wide[1]))
      ++wide;
    else if (IsHighSurrogate(*wide) || IsLowSurrogate(*wide))
      return false;
  }
  return true;
}

}  // namespace

bool ToWide(const char* text, UINT codePage, wchar_t* wide, int size) {
  DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
  if (MultiByteToWideChar(codePage, flags, text, -1, wide, size) > 0) return true;
  if (size > 0) wide[0] = L'\0';
  return false;
}

// The check for unpaired surrogates is the program's own: the flag that asks
// the platform for it exists only from Windows Vista on, and Windows XP
// refuses any flag with UTF-8. Whole UTF-16 converts exactly on every version.
bool ToUtf8(const wchar_t* wide, char* text, int size) {
  if (IsWholeUtf16(wide) &&
      WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, size, nullptr, nullptr) > 0)
    return true;
  if (size > 0) text[0] = '\0';
  return false;
}

ProgramText::ProgramText(const char* text) : units() {
  ToWide(text, ProgramCodePage, units, TextUnits);
}

PathText::PathText(const char* format, const char* path) : units() {
  wchar_t widePath[PathUnits];
  ToWide(path, CP_UTF8, widePath, PathUnits);
  wsprintfW(units, ProgramText(format), widePath);  // the format's few words and the path
}

BOOL SetProgramText(HWND window, const char* text) {
  return SetWindowTextW(window, ProgramText(text));
}

int ProgramMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  return MessageBoxW(owner, ProgramText(text), ProgramText(caption), type);
}
