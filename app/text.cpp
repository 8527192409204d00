// Conversions between the program's text and the platform's UTF-16.
#include "app/text.h"

#include "core/utf.h"

bool ToWide(const char* text, UINT codePage, wchar_t* wide, int size) {
  if (codePage == CP_UTF8) return Utf8ToUtf16(text, wide, size > 0 ? size : 0);
  if (MultiByteToWideChar(codePage, 0, text, -1, wide, size) > 0) return true;
  if (size > 0) wide[0] = L'\0';
  return false;
}

bool ToUtf8(const wchar_t* wide, char* text, int size) {
  return Utf16ToUtf8(wide, text, size > 0 ? size : 0);
}

ProgramText::ProgramText(const char* text) : units() {
  ToWide(text, ProgramCodePage, units, TextUnits);
}

PathText::PathText(const char* format, const char* path) : units() {
  wchar_t widePath[PathUnits];
  ToWide(path, CP_UTF8, widePath, PathUnits);
  wsprintfW(units, ProgramText(format), widePath);  // the format's few words and the path
}

namespace {

// Whether a trailing character of a system message ends a sentence or line.
bool EndsMessage(wchar_t c) {
  return c == L'\r' || c == L'\n' || c == L' ' || c == L'.' || c == L'\x3002';
}

}  // namespace

ReasonText::ReasonText(const char* format, DWORD error, const char* unknown) : units() {
  wchar_t reason[TextUnits] = {};
  DWORD length = error ? FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reason, TextUnits, nullptr)
                       : 0;
  while (length > 0 && EndsMessage(reason[length - 1])) reason[--length] = L'\0';
  if (length == 0) wsprintfW(reason, ProgramText(unknown), error);
  wsprintfW(units, ProgramText(format), reason);  // the format's few words and the reason
}

BOOL SetProgramText(HWND window, const char* text) {
  return SetWindowTextW(window, ProgramText(text));
}

int ProgramMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  return MessageBoxW(owner, ProgramText(text), ProgramText(caption), type);
}

int PathMessageBox(HWND owner, const char* format, const char* path, const char* caption,
                   UINT type) {
  return MessageBoxW(owner, PathText(format, path), ProgramText(caption), type);
}
