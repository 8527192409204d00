// asdtool's calls of the operating system, for Windows and for POSIX.
#include "system.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "core/stream.h"
#include "core/utf.h"
#include "messages.h"

#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
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

std::string OpenFolder(const fs::path& path, Folder* folder) {
  std::wstring full(MAX_PATH, L'\0');
  const wchar_t* given = path.empty() ? L"." : path.c_str();
  DWORD size = GetFullPathNameW(given, static_cast<DWORD>(full.size()), &full[0], nullptr);
  if (size >= full.size()) {
    full.resize(size);
    size = GetFullPathNameW(given, static_cast<DWORD>(full.size()), &full[0], nullptr);
  }
  if (size == 0 || size >= full.size())
    return "cannot write the file" + SystemReason(GetLastError());
  full.resize(size);
  folder->path = full;
  return "";
}
void CloseFolder(const Folder& /*folder*/) {}

// A name of at most 255 UTF-8 bytes, in a path of at most MAX_PATH - 1 units,
// the limit of the plain calls, as the target's path is.
std::size_t NameRoom(const Folder& folder) {
  const std::wstring& path = folder.path.native();
  const std::size_t taken = path.size() + (path.empty() || path.back() == L'\\' ? 0 : 1);
  return std::min<std::size_t>(255, MAX_PATH - 1 > taken ? MAX_PATH - 1 - taken : 0);
}

fs::path PathIn(const Folder& folder, const fs::path& name) {
  const fs::path path = folder.path / name;
  std::wstring wide(WidePathUnits, L'\0');
  return LongPath(path.c_str(), &wide[0]) ? fs::path(wide.c_str()) : path;
}

// Written through: the move is on the disk when the call returns.
std::string Move(const Folder& folder, const fs::path& name, const fs::path& to, bool replace,
                 bool* exists) {
  const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
  if (MoveFileExW(PathIn(folder, name).c_str(), to.c_str(), flags)) return "";
  const DWORD error = GetLastError();
  *exists = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
  return "cannot write the file" + SystemReason(error);
}
std::string FlushFolder(const Folder& /*folder*/) { return ""; }

void Remove(const Folder& folder, const fs::path& name) {
  (void)DeleteFileW(PathIn(folder, name).c_str());
}
#else
int ReadArguments(int argc, char** argv, std::vector<std::string>* args) {
  args->assign(argv, argv + argc);
  return ExitOk;
}

std::string WriteStream(std::FILE* stream, const std::string& text) {
  return WriteBytes(stream, text);
}

std::string OpenFolder(const fs::path& path, Folder* folder) {
  const char* name = path.empty() ? "." : path.c_str();
  folder->descriptor = open(name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // A folder the user may write in but not read is still reached, though not flushed.
  if (folder->descriptor < 0 && errno == EACCES)
    folder->descriptor = open(name, O_PATH | O_DIRECTORY | O_CLOEXEC);
  return folder->descriptor >= 0 ? "" : "cannot write the file" + Because(errno);
}
void CloseFolder(const Folder& folder) {
  if (folder.descriptor >= 0) (void)close(folder.descriptor);  // only read
}

std::size_t NameRoom(const Folder& folder) {
  const long room = fpathconf(folder.descriptor, _PC_NAME_MAX);
  return room > 0 ? static_cast<std::size_t>(room) : 255;
}

std::string Move(const Folder& folder, const fs::path& name, const fs::path& to, bool replace,
                 bool* exists) {
  const int at = folder.descriptor;
  const fs::path into = to.filename();
  int moved = replace ? renameat(at, name.c_str(), at, into.c_str())
                      : renameat2(at, name.c_str(), at, into.c_str(), RENAME_NOREPLACE);
  // A file system that takes no flags for a rename still links without replacing.
  if (moved != 0 && !replace && (errno == EINVAL || errno == ENOSYS)) {
    moved = linkat(at, name.c_str(), at, into.c_str(), 0);
    if (moved == 0) (void)unlinkat(at, name.c_str(), 0);
  }
  *exists = moved != 0 && errno == EEXIST;
  return moved == 0 ? "" : "cannot write the file" + Because(errno);
}

// A folder that cannot be flushed (reached without the right to read it, or
// on a file system that refuses) leaves its entries to the file system: the
// file itself is on the disk already.
std::string FlushFolder(const Folder& folder) {
  if (fsync(folder.descriptor) == 0 || errno == EBADF || errno == EINVAL || errno == ENOTSUP ||
      errno == EROFS)
    return "";
  return "the file is in place, but its folder cannot be put on the disk" + Because(errno);
}

void Remove(const Folder& folder, const fs::path& name) {
  (void)unlinkat(folder.descriptor, name.c_str(), 0);
}
#endif
