// What --force may replace, and what the replacement keeps, for Windows and
// for POSIX.
#include "replace.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <system_error>

#include "messages.h"
#include "system.h"

#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#include <winioctl.h>
#else
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// The links followed to a file at most, as Linux follows them.
const int MaxLinks = 40;

const char OtherNamesText[] =
    "the file has other names (hard links), which a new file in its place would split from it";

std::string CannotWrite(const std::string& why) { return "cannot write the file" + why; }
std::string CannotGive(const std::string& what, const std::string& why) {
  return "cannot give the new file the old one's " + what + why;
}

}  // namespace

#ifdef _WIN32
namespace {

// GetFinalPathNameByHandleW, of Windows Vista on; Windows XP has no file links.
using FinalPathName = DWORD(WINAPI*)(HANDLE, wchar_t*, DWORD, DWORD);

const SECURITY_INFORMATION Described =
    OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;

// The attributes a new file takes over from the file it replaces.
const DWORD Settable = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                       FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE;

HANDLE HandleOf(std::FILE* file) { return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file))); }

// A security descriptor as get(buffer, size, &needed) reads it: its owner,
// group and access list; empty where the file system keeps none.
template <typename Get>
std::string ReadSecurity(Get get, std::vector<unsigned char>* sd) {
  DWORD size = 0;
  (void)get(nullptr, 0, &size);  // the size it takes
  sd->resize(size);
  if (size != 0 && get(sd->data(), size, &size)) return "";
  const DWORD error = GetLastError();
  sd->clear();
  if (error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION) return "";
  return "cannot read the file's owner and permissions" + SystemReason(error);
}

// The owner, group and access list a security descriptor names.
struct Parts {
  PSID owner = nullptr;
  PSID group = nullptr;
  PACL list = nullptr;
};
Parts PartsOf(const std::vector<unsigned char>& sd) {
  Parts parts;
  const auto descriptor = const_cast<unsigned char*>(sd.data());
  BOOL present = FALSE;
  BOOL defaulted = FALSE;
  (void)GetSecurityDescriptorOwner(descriptor, &parts.owner, &defaulted);
  (void)GetSecurityDescriptorGroup(descriptor, &parts.group, &defaulted);
  (void)GetSecurityDescriptorDacl(descriptor, &present, &parts.list, &defaulted);
  return parts;
}
bool Same(PSID a, PSID b) { return a && b ? EqualSid(a, b) != FALSE : a == b; }
bool Same(PACL a, PACL b) {
  return a && b ? a->AclSize == b->AclSize && std::memcmp(a, b, a->AclSize) == 0 : a == b;
}

// The parts of the descriptor sd that the new file open as handle has not
// already: a file's creator may lack the right to name its owner again.
SECURITY_INFORMATION Differing(HANDLE handle, const std::vector<unsigned char>& sd) {
  std::vector<unsigned char> mine;
  const auto get = [&](void* buffer, DWORD size, DWORD* needed) {
    return GetKernelObjectSecurity(handle, Described, buffer, size, needed);
  };
  if (sd.empty()) return 0;
  if (!ReadSecurity(get, &mine).empty() || mine.empty()) return Described;
  const Parts old = PartsOf(sd);
  const Parts now = PartsOf(mine);
  return (Same(old.owner, now.owner) ? 0 : OWNER_SECURITY_INFORMATION) |
         (Same(old.group, now.group) ? 0 : GROUP_SECURITY_INFORMATION) |
         (Same(old.list, now.list) ? 0 : DACL_SECURITY_INFORMATION);
}

// Wine keeps a file's permissions as its POSIX mode, and turns an access list
// it is given into a mode that grants more (0600 becomes 0770): there, the new
// file keeps the mode its folder gives it.
bool UnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// The file the symbolic link at path names, a relative name taken from the
// link's folder: false when path is no symbolic link (a file, none yet, or
// another kind of reparse point), or with *why when its data cannot be read.
// Read from the link itself, so that a link to no file is seen too.
bool ReadLink(const fs::path& path, fs::path* next, std::string* why) {
  const HANDLE file = CreateFileW(
      path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info = {};
  std::vector<unsigned char> data(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
  DWORD size = 0;
  const bool reparse = GetFileInformationByHandle(file, &info) &&
                       (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  const bool read =
      reparse && DeviceIoControl(file, FSCTL_GET_REPARSE_POINT, nullptr, 0, data.data(),
                                 static_cast<DWORD>(data.size()), &size, nullptr);
  const DWORD error = GetLastError();
  CloseHandle(file);
  if (reparse && !read) *why = CannotWrite(SystemReason(error));
  // A symbolic link's data: its tag, then where its substitute name lies in
  // the names at byte 20, and whether it is relative (flag 1).
  DWORD tag = 0;
  WORD at = 0;
  WORD length = 0;
  ULONG flags = 0;
  std::memcpy(&tag, &data[0], sizeof tag);
  std::memcpy(&at, &data[8], sizeof at);
  std::memcpy(&length, &data[10], sizeof length);
  std::memcpy(&flags, &data[16], sizeof flags);
  if (!read || tag != IO_REPARSE_TAG_SYMLINK) return false;
  if (size < 20 || 20u + at + length > size) {
    *why = CannotWrite(SystemReason(ERROR_INVALID_REPARSE_DATA));
    return false;
  }
  std::wstring name(length / 2, L'\0');
  std::memcpy(&name[0], &data[20u + at], name.size() * 2);
  // The NT forms of "C:\..." and "\\server\share\..." as the other calls take them.
  if (name.compare(0, 8, L"\\\?\?\\UNC\\") == 0)
    name.replace(0, 8, L"\\\\");
  else if (name.compare(0, 4, L"\\\?\?\\") == 0)
    name.erase(0, 4);
  *next = (flags & 1) != 0 ? path.parent_path() / name : fs::path(name);
  return true;
}

// The final name of the file at path, where there is one. Wine shows a
// Unix link as the file it names, and this name as the link's target.
std::string FinalName(fs::path* path) {
  const auto finalPath = reinterpret_cast<FinalPathName>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
  const HANDLE file =
      finalPath
          ? CreateFileW(path->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, 0, nullptr)
          : INVALID_HANDLE_VALUE;
  if (file == INVALID_HANDLE_VALUE) return "";  // no file yet: it is made at path
  std::wstring name(MAX_PATH, L'\0');
  DWORD size = finalPath(file, &name[0], static_cast<DWORD>(name.size()), 0);
  if (size >= name.size()) {
    name.resize(size);
    size = finalPath(file, &name[0], static_cast<DWORD>(name.size()), 0);
  }
  const DWORD error = GetLastError();
  CloseHandle(file);
  if (size == 0 || size >= name.size()) return CannotWrite(SystemReason(error));
  name.resize(size);
  // "\\?\C:\..." and "\\?\UNC\server\share\..." as the other calls take them.
  if (name.compare(0, 8, L"\\\\?\\UNC\\") == 0)
    name.replace(0, 8, L"\\\\");
  else if (name.compare(0, 4, L"\\\\?\\") == 0)
    name.erase(0, 4);
  *path = name;
  return "";
}

}  // namespace

std::string FollowLinks(const fs::path& path, fs::path* target) {
  *target = path;
  std::string why;
  fs::path next;
  for (int links = 0; ReadLink(*target, &next, &why); ++links) {
    if (links == MaxLinks) return CannotWrite(SystemReason(ERROR_CANT_RESOLVE_FILENAME));
    *target = next;
  }
  return why.empty() ? FinalName(target) : why;
}

std::string ReadOriginal(const fs::path& target, Original* original) {
  const HANDLE file = CreateFileW(target.c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? "" : CannotWrite(SystemReason(error));
  }
  BY_HANDLE_FILE_INFORMATION info = {};
  const BOOL known = GetFileInformationByHandle(file, &info);
  const DWORD error = GetLastError();
  CloseHandle(file);
  if (!known) return CannotWrite(SystemReason(error));
  // Windows opens no read-only file for writing; Wine does for root.
  if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
    return CannotWrite(SystemReason(ERROR_ACCESS_DENIED));
  if (info.nNumberOfLinks > 1) return OtherNamesText;
  original->exists = true;
  original->mode = info.dwFileAttributes;
  const auto get = [&](void* buffer, DWORD size, DWORD* needed) {
    return GetFileSecurityW(target.c_str(), Described, buffer, size, needed);
  };
  return UnderWine() ? "" : ReadSecurity(get, &original->security);
}

// Nobody else opens the new file while it is made (no sharing); its
// attributes are given as it is made, its security through its handle.
std::FILE* MakeFile(const Folder& folder, const fs::path& name, const Original& original,
                    bool /*ownerOnly*/, std::string* why, bool* exists) {
  const DWORD secured = original.security.empty() ? 0 : READ_CONTROL | WRITE_DAC | WRITE_OWNER;
  const DWORD attributes = original.mode & Settable;
  const HANDLE handle =
      CreateFileW(PathIn(folder, name).c_str(), GENERIC_READ | GENERIC_WRITE | secured, 0, nullptr,
                  CREATE_NEW, attributes ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    *exists = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
    *why = CannotWrite(SystemReason(error));
    return nullptr;
  }
  const int descriptor = _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_BINARY);
  std::FILE* file = descriptor >= 0 ? _fdopen(descriptor, "w+b") : nullptr;
  if (file) return file;
  *why = CannotWrite(Because(errno));
  if (descriptor >= 0)
    (void)_close(descriptor);  // never written
  else
    CloseHandle(handle);
  Remove(folder, name);
  return nullptr;
}

std::string GiveOwner(std::FILE* file, const Original& original) {
  const HANDLE handle = HandleOf(file);
  const SECURITY_INFORMATION differing = Differing(handle, original.security);
  const auto sd = const_cast<unsigned char*>(original.security.data());
  if (differing != 0 && !SetKernelObjectSecurity(handle, differing, sd))
    return CannotGive("owner, group and permissions", SystemReason(GetLastError()));
  return "";
}

// Everything was given as the file was made, or before it was filled.
std::string GiveRest(std::FILE* /*file*/, const Original& /*original*/) { return ""; }
#else
namespace {

const char AccessList[] = "system.posix_acl_access";

// The extended attributes of the file that a replacement keeps: its
// access-control list and the user's own.
std::string ReadExtended(const fs::path& file,
                         std::vector<std::pair<std::string, std::string> >* kept) {
  std::string names(65536, '\0');  // the most Linux lists
  const ssize_t size = listxattr(file.c_str(), &names[0], names.size());
  if (size < 0)
    return errno == ENOTSUP ? "" : "cannot read the file's extended attributes" + Because(errno);
  names.resize(size);
  for (std::size_t at = 0; at < names.size(); at = names.find('\0', at) + 1) {
    const std::string name = names.c_str() + at;
    if (name.rfind("user.", 0) != 0 && name != AccessList) continue;
    std::string value(65536, '\0');  // the largest value Linux keeps
    const ssize_t length = getxattr(file.c_str(), name.c_str(), &value[0], value.size());
    if (length < 0) return "cannot read the file's extended attribute " + name + Because(errno);
    value.resize(length);
    kept->emplace_back(name, value);
  }
  return "";
}

}  // namespace

std::string FollowLinks(const fs::path& path, fs::path* target) {
  *target = path;
  std::error_code missing;  // the end of the chain is a file still to be made
  for (int links = 0; fs::is_symlink(fs::symlink_status(*target, missing)); ++links) {
    if (links == MaxLinks) return CannotWrite(Because(ELOOP));
    std::error_code error;
    const fs::path next = fs::read_symlink(*target, error);
    if (error) return CannotWrite(Because(error));
    *target = next.is_absolute() ? next : target->parent_path() / next;
  }
  return "";
}

std::string ReadOriginal(const fs::path& target, Original* original) {
  struct stat status = {};
  if (stat(target.c_str(), &status) != 0) return errno == ENOENT ? "" : CannotWrite(Because(errno));
  if (!S_ISREG(status.st_mode)) return "";
  // Asked as any program that writes the file would ask, with the user's
  // rights, without opening it, which would tell those who watch the file
  // that it was written.
  if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
    return CannotWrite(Because(errno));
  std::string why =
      status.st_nlink > 1 ? OtherNamesText : ReadExtended(target, &original->extended);
  original->exists = true;
  original->mode = status.st_mode & 07777;
  original->owner = status.st_uid;
  original->group = status.st_gid;
  return why;
}

std::FILE* MakeFile(const Folder& folder, const fs::path& name, const Original& /*original*/,
                    bool ownerOnly, std::string* why, bool* exists) {
  const int descriptor = openat(folder.descriptor, name.c_str(),
                                O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, ownerOnly ? 0600 : 0666);
  *exists = descriptor < 0 && errno == EEXIST;
  std::FILE* file = descriptor >= 0 ? fdopen(descriptor, "w+b") : nullptr;
  if (file) return file;
  *why = CannotWrite(Because(errno));
  if (descriptor >= 0) {
    (void)close(descriptor);  // never written
    Remove(folder, name);
  }
  return nullptr;
}

std::string GiveOwner(std::FILE* file, const Original& original) {
  if (original.exists && fchown(fileno(file), original.owner, original.group) != 0)
    return CannotGive("owner and group", Because(errno));
  return "";
}

std::string GiveRest(std::FILE* file, const Original& original) {
  if (!original.exists) return "";
  const int descriptor = fileno(file);
  // A list the folder gave the new file goes when the old file had none.
  if (fremovexattr(descriptor, AccessList) != 0 && errno != ENODATA && errno != ENOTSUP)
    return CannotGive("access-control list", Because(errno));
  for (const auto& [name, value] : original.extended) {
    if (fsetxattr(descriptor, name.c_str(), value.data(), value.size(), 0) != 0)
      return CannotGive("extended attribute " + name, Because(errno));
  }
  if (fchmod(descriptor, original.mode) != 0) return CannotGive("permissions", Because(errno));
  return "";
}
#endif
