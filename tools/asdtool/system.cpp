// asdtool's calls of the operating system, for Windows and for POSIX.
#include "system.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "editor/utf.h"
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

namespace {

// Writes text whole to stream as bytes: "" or why not.
std::string WriteBytes(std::FILE* stream, const std::string& text) {
  errno = 0;
  const bool written = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
  return std::fflush(stream) == 0 && written ? "" : Because(errno);
}

}  // namespace

#ifdef _WIN32
namespace {

// wide as UTF-8; false when it is no valid Unicode.
bool ToUtf8(const wchar_t* wide, std::string* text) {
  std::vector<char> bytes(3 * std::wcslen(wide) + 1);  // three bytes for a unit at most
  if (!Utf16ToUtf8(wide, bytes.data(), bytes.size())) return false;
  *text = bytes.data();
  return true;
}

// text as UTF-16; empty when it is no UTF-8.
std::wstring Utf16(const std::string& text) {
  std::vector<wchar_t> wide(text.size() + 1);
  return Utf8ToUtf16(text.c_str(), wide.data(), wide.size()) ? wide.data() : L"";
}

}  // namespace

std::string WriteStream(std::FILE* stream, const std::string& text) {
  const auto device = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  // A console answers GetConsoleMode, but not through a handle opened for
  // writing only, as cmd opens one for >CON: such a device either takes
  // UTF-16 or is no console (NUL) and takes the bytes.
  DWORD mode = 0;
  const bool console = GetConsoleMode(device, &mode) != FALSE;
  if (!console && GetFileType(device) != FILE_TYPE_CHAR) return WriteBytes(stream, text);
  const std::wstring wide = Utf16(text);
  if (wide.empty()) return WriteBytes(stream, text);  // no UTF-8, or nothing
  for (std::size_t at = 0; at < wide.size();) {
    // Consoles before Windows 8 take a few kilobytes at a time; a part
    // never ends between the two halves of a surrogate pair.
    DWORD size = static_cast<DWORD>(std::min<std::size_t>(wide.size() - at, 4096));
    if (at + size < wide.size() && wide[at + size - 1] >= 0xD800 && wide[at + size - 1] <= 0xDBFF)
      --size;
    DWORD written = 0;
    if (WriteConsoleW(device, wide.data() + at, size, &written, nullptr) && written > 0) {
      at += written;
      continue;
    }
    if (!console && at == 0) return WriteBytes(stream, text);
    return SystemReason(GetLastError());
  }
  return "";
}

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

int OpenNew(const fs::path& path, bool /*ownerOnly*/) {
  return _wopen(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int Flush(int descriptor) { return _commit(descriptor); }
int Close(int descriptor) { return _close(descriptor); }

std::string Move(const fs::path& from, const fs::path& to, bool replace, bool* exists) {
  if (MoveFileExW(from.c_str(), to.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0)) return "";
  const DWORD error = GetLastError();
  *exists = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
  return "cannot write the file" + SystemReason(error);
}
#else
int ReadArguments(int argc, char** argv, std::vector<std::string>* args) {
  args->assign(argv, argv + argc);
  return ExitOk;
}

std::string WriteStream(std::FILE* stream, const std::string& text) {
  return WriteBytes(stream, text);
}

int OpenNew(const fs::path& path, bool ownerOnly) {
  return open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, ownerOnly ? 0600 : 0666);
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
