// Files as streams, opened by UTF-8 paths and put on the disk.
#include "stream.h"

#include <cerrno>

#include "utf.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>

#include <cwchar>

bool LongPath(const wchar_t* path, wchar_t* wide) {
  const std::size_t length = std::wcslen(path);
  const bool device =
      std::wcsncmp(path, L"\\\\?\\", 4) == 0 || std::wcsncmp(path, L"\\\\.\\", 4) == 0;
  if (length < MAX_PATH - 12 || device)
    return length < WidePathUnits && std::wcscpy(wide, path) != nullptr;
  wchar_t full[WidePathUnits];
  const DWORD made = GetFullPathNameW(path, WidePathUnits, full, nullptr);
  if (made == 0 || made + 8 >= WidePathUnits) return false;
  const bool share = std::wcsncmp(full, L"\\\\", 2) == 0;
  std::wcscpy(wide, share ? L"\\\\?\\UNC" : L"\\\\?\\");
  return std::wcscat(wide, share ? full + 1 : full) != nullptr;
}

bool WidePath(const char* path, wchar_t* wide) {
  wchar_t given[WidePathUnits];
  return Utf8ToUtf16(path, given, WidePathUnits) && LongPath(given, wide);
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
