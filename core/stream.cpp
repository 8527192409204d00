// Files as streams, opened by UTF-8 paths and put on the disk.
#include "stream.h"

#include <cerrno>

#include "utf.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>

#include <cwchar>

bool WidePath(const char* path, wchar_t* wide) {
  wchar_t given[WidePathUnits];
  if (!Utf8ToUtf16(path, given, WidePathUnits)) return false;
  if (std::wcslen(given) < MAX_PATH - 12) return std::wcscpy(wide, given) != nullptr;
  wchar_t full[WidePathUnits];
  const DWORD length = GetFullPathNameW(given, WidePathUnits, full, nullptr);
  if (length == 0 || length + 8 >= WidePathUnits) return false;
  if (std::wcsncmp(full, L"\\\\?\\", 4) == 0) return std::wcscpy(wide, full) != nullptr;
  const bool share = std::wcsncmp(full, L"\\\\", 2) == 0;
  std::wcscpy(wide, share ? L"\\\\?\\UNC" : L"\\\\?\\");
  return std::wcscat(wide, share ? full + 1 : full) != nullptr;
}

std::FILE* OpenStream(const char* path, const char* mode) {
  wchar_t widePath[WidePathUnits];
  wchar_t wideMode[8] = {};
  if (!WidePath(path, widePath)) {
    errno = ENAMETOOLONG;  // the programs' paths are UTF-8: this one is too long
    return nullptr;
  }
  for (int i = 0; mode[i] && i < 7; ++i) wideMode[i] = static_cast<wchar_t>(mode[i]);
  return _wfopen(widePath, wideMode);
}

SystemError SyncStream(std::FILE* file) {
  SetLastError(0);
  if (std::fflush(file) == 0 && _commit(_fileno(file)) == 0) return 0;
  const DWORD error = GetLastError();  // the C runtime leaves it behind
  return error ? error : ERROR_WRITE_FAULT;
}
#else
#include <unistd.h>

std::FILE* OpenStream(const char* path, const char* mode) { return std::fopen(path, mode); }

SystemError SyncStream(std::FILE* file) {
  errno = 0;
  if (std::fflush(file) == 0 && fsync(fileno(file)) == 0) return 0;
  return errno ? errno : EIO;
}
#endif
