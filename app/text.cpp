// Conversions between the program's text and the platform's UTF-16.
#include "app/text.h"

bool ToWide(const char* text, UINT codePage, wchar_t* wide, int size) {
  DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
  if (MultiByteToWideChar(codePage, flags, text, -1, wide, size) > 0) return true;
  if (size > 0) wide[0] = L'\0';
  return false;
}

bool ToUtf8(const wchar_t* wide, char* text, int size) {
  if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, -1, text, size, nullptr, nullptr) >
      0)
    return true;
  if (size > 0) text[0] = '\0';
  return false;
}
