// asdtool's calls of the operating system, for Windows and for POSIX.
#include "system.h"

#include <cerrno>
#include <cstdio>

#include "messages.h"

#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

#ifdef _WIN32
namespace {

// Whether wide is whole UTF-16: each high surrogate followed by a low one,
// and no low one alone.
bool WholeUtf16(const wchar_t* wide) {
  const auto high = [](wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; };
  const auto low = [](wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; };
  for (; *wide; ++wide) {
    if (low(*wide) || (high(*wide) && !low(*++wide))) return false;
  }
  return true;
}

// The wide argument as UTF-8; false when it is no valid Unicode. Windows XP
// takes no flags for UTF-8, so the surrogates are checked here.
bool ToUtf8(const wchar_t* wide, std::string* text) {
  if (!WholeUtf16(wide)) return false;
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return false;
  std::vector<char> bytes(size);
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, bytes.data(), size, nullptr, nullptr);
  *text = bytes.data();
  return true;
}

// The system's own words for error, in UTF-8.
std::string SystemText(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring wide(text ? text : L"", length);
  LocalFree(text);
  wide.erase(wide.find_last_not_of(L"\r\n .") + 1);
  return ": " + fs::path(wide).u8string();
}

}  // namespace

// The wide command line, so that a path reaches the file system as the user
// gave it.
int ReadArguments(int, char**, std::vector<std::string>* args) {
  int argc = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!wide) return Fail("the command line", "cannot be read", ExitUsage);
  args->assign(argc, "");
  int bad = -1;
  for (int i = 0; i < argc; ++i)
    if (!ToUtf8(wide[i], &(*args)[i]) && bad < 0) bad = i;
  LocalFree(wide);
  if (bad >= 0)
    return Fail("argument " + std::to_string(bad), "is no valid Unicode text", ExitUsage);
  return ExitOk;
}

unsigned UseUtf8Console() {
  const UINT page = GetConsoleOutputCP();
  SetConsoleOutputCP(CP_UTF8);
  return page;
}
void RestoreConsole(unsigned page) {
  if (page != 0) SetConsoleOutputCP(page);
}

int OpenNew(const fs::path& path) {
  return _wopen(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int Flush(int descriptor) { return _commit(descriptor); }
int Close(int descriptor) { return _close(descriptor); }

std::string Move(const fs::path& from, const fs::path& to, bool replace, bool* exists) {
  if (MoveFileExW(from.c_str(), to.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0)) return "";
  const DWORD error = GetLastError();
  *exists = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
  return "cannot write the file" + SystemText(error);
}
#else
int ReadArguments(int argc, char** argv, std::vector<std::string>* args) {
  args->assign(argv, argv + argc);
  return ExitOk;
}

unsigned UseUtf8Console() { return 0; }
void RestoreConsole(unsigned) {}

int OpenNew(const fs::path& path) {
  return open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
}
int Flush(int descriptor) { return fsync(descriptor); }
int Close(int descriptor) { return close(descriptor); }

std::string Move(const fs::path& from, const fs::path& to, bool replace, bool* exists) {
  int moved = replace ? std::rename(from.c_str(), to.c_str())
                      : renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
  // A file system that takes no flags for a rename still links without replacing.
  if (moved != 0 && !replace && (errno == EINVAL || errno == ENOSYS)) {
    moved = link(from.c_str(), to.c_str());
    if (moved == 0) (void)unlink(from.c_str());
  }
  *exists = moved != 0 && errno == EEXIST;
  return moved == 0 ? "" : "cannot write the file" + Because(errno);
}
#endif
