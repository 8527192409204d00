// Making, finding and removing the backups of a save file.
#include "backup.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <cwchar>

#include "stream.h"
#include "utf.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const std::size_t PathSize = 4096;  // bytes of a path, with its terminator
const char PlainEnd[] = ".bak";
const char OpenedEnd[] = ".opened.bak";
const char TimePattern[] = "0000-00-00_00-00-00";  // a digit where a 0 stands
const int SequenceDigits = 4;                      // at least; zeros go before
const int MostSequenceDigits = 9;
// The longest file name the systems take, 255 bytes (POSIX) or UTF-16 units
// (Windows), counted in UTF-8 bytes on both, which are never fewer than the
// units: a name that fits holds on both, spelt alike for the editor under
// Wine and asdtool on Linux. And the most a backup's name takes after the
// save's name.
const std::size_t NameBytes = 255;
const std::size_t LongestEnd =
    1 + MostSequenceDigits + 1 + (sizeof TimePattern - 1) + (sizeof OpenedEnd - 1);
const std::size_t ChecksumBytes = 9;  // "~" and eight hexadecimal digits

// The whole content of a save as it was read.
struct Content {
  unsigned char* bytes;
  std::size_t length;
};

// Adds text to the path of length bytes; false when it does not fit.
bool Append(char* path, std::size_t* length, const char* text) {
  const std::size_t size = std::strlen(text);
  if (*length + size >= PathSize) return false;
  std::memcpy(path + *length, text, size + 1);
  *length += size;
  return true;
}

// The platform's part: paths, errors and files, on Windows through the wide
// functions, the paths converted from UTF-8.
#ifdef _WIN32
const char Separator[] = "\\";
bool IsSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }
const SystemError TooLong = ERROR_FILENAME_EXCED_RANGE;
const SystemError NoMemory = ERROR_NOT_ENOUGH_MEMORY;
const SystemError ReadFault = ERROR_READ_FAULT;
const SystemError WriteFault = ERROR_WRITE_FAULT;
void ClearError() { SetLastError(0); }
// Why a call failed, which the C runtime leaves behind too; otherwise when none says.
SystemError LastError(SystemError otherwise) {
  DWORD error = GetLastError();
  return error ? error : otherwise;
}
bool IsTaken(SystemError error) {
  return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

// The name of the save at savePath as its folder spells it, in name: a
// backup's name follows that spelling, whatever letter case the path gave.
void DiskName(const char* savePath, const char* given, char* name, std::size_t size) {
  wchar_t wide[WidePathUnits];
  WIN32_FIND_DATAW found;
  HANDLE search = WidePath(savePath, wide) ? FindFirstFileW(wide, &found) : INVALID_HANDLE_VALUE;
  const bool spelt = search != INVALID_HANDLE_VALUE && Utf16ToUtf8(found.cFileName, name, size);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  if (!spelt && std::strlen(given) < size) std::memcpy(name, given, std::strlen(given) + 1);
}

SystemError MakeFolder(const char* folder) {
  wchar_t wide[WidePathUnits];
  if (!WidePath(folder, wide)) return TooLong;
  if (CreateDirectoryW(wide, nullptr)) return 0;
  const DWORD error = GetLastError();
  if (error != ERROR_ALREADY_EXISTS) return error;
  const DWORD attributes = GetFileAttributesW(wide);
  if (attributes == INVALID_FILE_ATTRIBUTES) return LastError(ERROR_PATH_NOT_FOUND);
  return attributes & FILE_ATTRIBUTE_DIRECTORY ? 0 : ERROR_DIRECTORY;  // a file in its place
}

// The new file takes its permissions from the folder, as every new file there does.
unsigned SaveMode(std::FILE*) { return 0; }

SystemError WriteNew(const char* path, const Content& content, unsigned) {
  wchar_t wide[WidePathUnits];
  if (!WidePath(path, wide)) return TooLong;
  HANDLE file =
      CreateFileW(wide, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return LastError(WriteFault);
  SystemError error = 0;
  for (std::size_t at = 0; !error && at < content.length;) {
    const std::size_t part = content.length - at < 65536 ? content.length - at : 65536;
    DWORD written = 0;
    if (!WriteFile(file, content.bytes + at, static_cast<DWORD>(part), &written, nullptr) ||
        written == 0)
      error = LastError(WriteFault);
    at += written;
  }
  if (!error && !FlushFileBuffers(file)) error = LastError(WriteFault);
  if (!CloseHandle(file) && !error) error = LastError(WriteFault);
  if (error) (void)DeleteFileW(wide);
  return error;
}

void RemoveFile(const char* path) {
  wchar_t wide[WidePathUnits];
  if (WidePath(path, wide)) (void)DeleteFileW(wide);
}

bool RenameFile(const char* from, const char* to) {
  wchar_t wideFrom[WidePathUnits];
  wchar_t wideTo[WidePathUnits];
  return WidePath(from, wideFrom) && WidePath(to, wideTo) && MoveFileExW(wideFrom, wideTo, 0);
}

// A file's new name is on the disk with its folder's journal.
void SyncFolder(const char*) {}

// YYYY, MM, DD, hh, mm, ss of the local time now.
void LocalParts(int* parts) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  const int read[6] = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
  std::memcpy(parts, read, sizeof read);
}

// Visits every file of folder (with a separator at its end, in path) whose
// name is a backup of saveName.
SystemError VisitFolder(char* path, std::size_t length, const char* saveName, BackupVisit visit,
                        void* context) {
  wchar_t pattern[WidePathUnits];
  std::size_t end = length;
  if (!Append(path, &end, "*") || !WidePath(path, pattern)) return TooLong;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : error;
  }
  do {
    char name[PathSize];
    BackupName backup;
    std::size_t end = length;
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        Utf16ToUtf8(found.cFileName, name, sizeof name) &&
        ReadBackupName(name, saveName, &backup) && Append(path, &end, name))
      visit(context, path, backup);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return 0;
}
#else
const char Separator[] = "/";
bool IsSeparator(char c) { return c == '/'; }
const SystemError TooLong = ENAMETOOLONG;
const SystemError NoMemory = ENOMEM;
const SystemError ReadFault = EIO;
const SystemError WriteFault = EIO;
void ClearError() { errno = 0; }
SystemError LastError(SystemError otherwise) { return errno ? errno : otherwise; }
bool IsTaken(SystemError error) { return error == EEXIST; }

void DiskName(const char*, const char* given, char* name, std::size_t size) {
  if (std::strlen(given) < size) std::memcpy(name, given, std::strlen(given) + 1);
}

// Puts a file's new name on the disk; where the folder cannot be flushed,
// its file still is.
void SyncFolder(const char* folder) {
  const int descriptor = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;
  (void)fsync(descriptor);
  (void)close(descriptor);
}

// A new folder's name is put on the disk in the folder that holds it.
SystemError MakeFolder(const char* folder) {
  if (mkdir(folder, 0777) == 0) {
    char holder[PathSize] = ".";  // up to its last separator, or the current folder
    if (const char* end = std::strrchr(folder, '/')) {
      const std::size_t length = end == folder ? 1 : static_cast<std::size_t>(end - folder);
      std::memcpy(holder, folder, length);
      holder[length] = '\0';
    }
    SyncFolder(holder);
    return 0;
  }
  if (errno != EEXIST) return errno;
  struct stat status = {};
  if (stat(folder, &status) != 0) return errno;
  return S_ISDIR(status.st_mode) ? 0 : ENOTDIR;  // a file in its place
}

// The owner reads and writes a backup; the others what they may of the save.
unsigned SaveMode(std::FILE* file) {
  struct stat status = {};
  return 0600 | (fstat(fileno(file), &status) == 0 ? status.st_mode & 066 : 0);
}

SystemError WriteNew(const char* path, const Content& content, unsigned mode) {
  const int file = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (file < 0) return errno;
  SystemError error = 0;
  for (std::size_t at = 0; !error && at < content.length;) {
    const ssize_t written = write(file, content.bytes + at, content.length - at);
    if (written > 0)
      at += static_cast<std::size_t>(written);
    else if (written == 0 || errno != EINTR)
      error = LastError(WriteFault);
  }
  if (!error && fsync(file) != 0) error = errno;
  if (close(file) != 0 && !error) error = errno;
  if (error) (void)unlink(path);
  return error;
}

void RemoveFile(const char* path) { (void)unlink(path); }

bool RenameFile(const char* from, const char* to) { return std::rename(from, to) == 0; }

void LocalParts(int* parts) {
  const std::time_t now = std::time(nullptr);
  struct tm local = {};
  (void)localtime_r(&now, &local);
  const int read[6] = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                       local.tm_hour,        local.tm_min,     local.tm_sec};
  std::memcpy(parts, read, sizeof read);
}

SystemError VisitFolder(char* path, std::size_t length, const char* saveName, BackupVisit visit,
                        void* context) {
  DIR* folder = opendir(path);
  if (!folder) return errno == ENOENT ? 0 : errno;
  while (const dirent* entry = readdir(folder)) {
    BackupName backup;
    std::size_t end = length;
    // Only a regular file is a backup: reading a FIFO of its name would wait.
    struct stat status = {};
    if (ReadBackupName(entry->d_name, saveName, &backup) && Append(path, &end, entry->d_name) &&
        stat(path, &status) == 0 && S_ISREG(status.st_mode))
      visit(context, path, backup);
    path[length] = '\0';
  }
  (void)closedir(folder);
  return 0;
}
#endif

// The name of the file at path, after its folder.
const char* FileName(const char* path) {
  const char* name = path;
  for (const char* at = path; *at; ++at)
    if (IsSeparator(*at)) name = at + 1;
  return name;
}

// The backup folder of the save at savePath, beside it, in folder.
bool BackupFolder(const char* savePath, char* folder, std::size_t* length) {
  *length = static_cast<std::size_t>(FileName(savePath) - savePath);
  if (*length >= PathSize) return false;
  std::memcpy(folder, savePath, *length);
  folder[*length] = '\0';
  return Append(folder, length, BackupFolderName);
}

// The part of a backup's name before its number: the save's name, or, where
// that is too long to leave room for the rest, its start, cut at a whole
// character, then "~" and a checksum of the whole name, so that two long
// names that begin alike never share their backups.
void BackupStem(const char* saveName, char* stem) {
  const std::size_t bytes = std::strlen(saveName);
  if (bytes + LongestEnd <= NameBytes) {
    std::memcpy(stem, saveName, bytes + 1);
    return;
  }
  std::size_t cut = NameBytes - LongestEnd - ChecksumBytes;  // at a character's first byte
  while (cut > 0 && (saveName[cut] & 0xC0) == 0x80) --cut;
  std::uint32_t checksum = 2166136261U;  // FNV-1a
  for (std::size_t i = 0; i < bytes; ++i)
    checksum = (checksum ^ static_cast<unsigned char>(saveName[i])) * 16777619U;
  std::memcpy(stem, saveName, cut);
  stem[cut] = '~';
  for (int i = 0; i < 8; ++i)
    stem[cut + 1 + i] = "0123456789abcdef"[(checksum >> (28 - 4 * i)) & 15];
  stem[cut + ChecksumBytes] = '\0';
}

// value in decimal, at least digits long, at text; where it ends.
char* PutNumber(unsigned long value, int digits, char* text) {
  char reversed[24];
  int count = 0;
  do {
    reversed[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value > 0 || count < digits);
  for (int i = 0; i < count; ++i) text[i] = reversed[count - 1 - i];
  text[count] = '\0';
  return text + count;
}

// The local time now, as TimePattern shows it.
void LocalTime(char* text) {
  int parts[6];
  LocalParts(parts);
  parts[0] %= 10000;
  for (int i = 0; i < 6; ++i) {
    text = PutNumber(static_cast<unsigned long>(parts[i]), i == 0 ? 4 : 2, text);
    if (i < 5) *text++ = TimePattern[i == 0 ? 4 : 7 + 3 * (i - 1)];
  }
  *text = '\0';
}

// Reads the whole file from its start into content.
SystemError ReadWhole(std::FILE* file, Content* content) {
  ClearError();
  const long length = std::fseek(file, 0, SEEK_END) == 0 ? std::ftell(file) : -1;
  if (length < 0 || std::fseek(file, 0, SEEK_SET) != 0) return LastError(ReadFault);
  content->length = static_cast<std::size_t>(length);
  content->bytes = static_cast<unsigned char*>(std::malloc(length > 0 ? content->length : 1));
  if (!content->bytes) return NoMemory;
  if (std::fread(content->bytes, 1, content->length, file) != content->length)
    return LastError(ReadFault);
  return 0;
}

// Whether the file at path holds exactly content.
bool HoldsContent(const char* path, const Content& content) {
  std::FILE* file = OpenStream(path, "rb");
  if (!file) return false;
  unsigned char part[8192];
  bool same = true;
  std::size_t at = 0;
  for (std::size_t read = 0; same && (read = std::fread(part, 1, sizeof part, file)) > 0;
       at += read)
    same = at + read <= content.length && std::memcmp(part, content.bytes + at, read) == 0;
  same = same && at == content.length && !std::ferror(file);
  (void)std::fclose(file);  // only read
  return same;
}

// What a look through the backups found: the sequences of the newest ones,
// newest first (0 where there are fewer), the newest opened one's, and the
// newest backup; and the sequence of a backup to keep whatever the count (0
// for none: the backups are numbered from 1).
struct Survey {
  unsigned long kept[BackupsKept];
  unsigned long opened;
  unsigned long spared;
  BackupName newest;
  char newestPath[PathSize];
};

void Count(Survey* survey, unsigned long sequence, bool opened) {
  if (opened && sequence > survey->opened) survey->opened = sequence;
  for (unsigned long& kept : survey->kept)
    if (sequence > kept) {
      const unsigned long later = kept;
      kept = sequence;
      sequence = later;
    }
}

void Note(void* context, const char* path, const BackupName& backup) {
  Survey* survey = static_cast<Survey*>(context);
  Count(survey, backup.sequence, backup.opened);
  if (backup.sequence <= survey->newest.sequence) return;
  survey->newest = backup;
  std::memcpy(survey->newestPath, path, std::strlen(path) + 1);
}

void RemoveUnkept(void* context, const char* path, const BackupName& backup) {
  const Survey* survey = static_cast<const Survey*>(context);
  if (backup.sequence < survey->kept[BackupsKept - 1] && backup.sequence != survey->spared &&
      !(backup.opened && backup.sequence == survey->opened))
    RemoveFile(path);
}

// Makes the backup of content in folder (with a separator at its end), the
// next after the newest the survey found; or marks the newest as opened when
// it holds content already. The survey then counts it.
SystemError Keep(const char* saveName, const char* folder, const Content& content, bool opened,
                 unsigned mode, Survey* survey) {
  const std::size_t folderLength = std::strlen(folder);
  if (survey->newest.sequence > 0 && HoldsContent(survey->newestPath, content)) {
    if (!opened || survey->newest.opened) return 0;
    char marked[PathSize];
    std::size_t length = std::strlen(survey->newestPath) - (sizeof PlainEnd - 1);
    std::memcpy(marked, survey->newestPath, length);
    marked[length] = '\0';
    if (Append(marked, &length, OpenedEnd) && RenameFile(survey->newestPath, marked)) {
      SyncFolder(folder);
      survey->opened = survey->newest.sequence;
      return 0;
    }
  }
  char time[sizeof TimePattern + 4];
  LocalTime(time);
  char stem[PathSize];
  BackupStem(saveName, stem);
  unsigned long sequence = survey->kept[0];
  SystemError error = 0;
  for (int tries = 0; tries < 100 && (tries == 0 || IsTaken(error)); ++tries) {
    char path[PathSize];
    char number[24];
    std::size_t length = folderLength;
    std::memcpy(path, folder, length + 1);
    PutNumber(++sequence, SequenceDigits, number);
    if (!Append(path, &length, stem) || !Append(path, &length, ".") ||
        !Append(path, &length, number) || !Append(path, &length, ".") ||
        !Append(path, &length, time) || !Append(path, &length, opened ? OpenedEnd : PlainEnd))
      return TooLong;
    error = WriteNew(path, content, mode);
  }
  if (error) return error;
  SyncFolder(folder);
  Count(survey, sequence, opened);
  return 0;
}

}  // namespace

bool ReadBackupName(const char* name, const char* saveName, BackupName* backup) {
  char stem[PathSize];
  BackupStem(saveName, stem);
  const std::size_t stemLength = std::strlen(stem);
  if (std::strncmp(name, stem, stemLength) != 0) return false;
  const char* at = name + stemLength;
  if (*at++ != '.') return false;
  backup->sequence = 0;
  int digits = 0;
  for (; *at >= '0' && *at <= '9'; ++at, ++digits) {
    if (digits == MostSequenceDigits) return false;
    backup->sequence = 10 * backup->sequence + static_cast<unsigned long>(*at - '0');
  }
  if (digits < SequenceDigits || backup->sequence == 0 || *at++ != '.') return false;
  for (std::size_t i = 0; i + 1 < sizeof TimePattern; ++i) {
    const bool digit = at[i] >= '0' && at[i] <= '9';
    if (TimePattern[i] == '0' ? !digit : at[i] != TimePattern[i]) return false;
    backup->time[i] = at[i];
  }
  backup->time[sizeof TimePattern - 1] = '\0';
  at += sizeof TimePattern - 1;
  backup->opened = std::strcmp(at, OpenedEnd) == 0;
  return backup->opened || std::strcmp(at, PlainEnd) == 0;
}

SystemError ListBackups(const char* savePath, BackupVisit visit, void* context) {
  char path[PathSize];
  std::size_t length = 0;
  if (!BackupFolder(savePath, path, &length) || !Append(path, &length, Separator)) return TooLong;
  char name[PathSize];
  DiskName(savePath, FileName(savePath), name, sizeof name);
  return VisitFolder(path, length, name, visit, context);
}

SystemError BackUp(const char* savePath, std::FILE* file, bool opened, unsigned long spared) {
  char folder[PathSize];
  std::size_t length = 0;
  if (!BackupFolder(savePath, folder, &length)) return TooLong;
  Content content = {nullptr, 0};
  SystemError error = ReadWhole(file, &content);
  if (!error) error = MakeFolder(folder);
  Survey survey = {};
  survey.spared = spared;
  if (!error) error = ListBackups(savePath, Note, &survey);
  if (!error && !Append(folder, &length, Separator)) error = TooLong;
  char name[PathSize];
  DiskName(savePath, FileName(savePath), name, sizeof name);
  if (!error) error = Keep(name, folder, content, opened, SaveMode(file), &survey);
  std::free(content.bytes);
  // A backup that could not be removed stays: no reason to keep the save from being written.
  if (!error) (void)ListBackups(savePath, RemoveUnkept, &survey);
  return error;
}
