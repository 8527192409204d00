#include "files.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <type_traits>

#include "core/savefile.h"
#include "core/stream.h"
#include "messages.h"
#include "replace.h"
#include "system.h"

namespace {

namespace fs = std::filesystem;

const char ExistsText[] = "the file exists (use --force to overwrite it)";
const char FolderText[] = "is a folder, not a file to write";

std::string CannotWrite(int error) { return "cannot write the file" + Because(error); }

// Puts what was written to file on the disk: "" or why not.
std::string Synced(std::FILE* file) {
  const SystemError error = SyncStream(file);
  return error ? "cannot write the file" + Because(SystemCode(error)) : "";
}

// Before the file at path is replaced whole (sample --force, export -o
// --force): makes its backup when it is a save file. "" or why none could
// be made.
std::string BackUpReplaced(const char* path) {
  if (!BackupsWanted()) return "";
  errno = 0;
  const int result = BackUpSaveFile(path);
  if (result == OpenFailed)
    return "cannot read the file to make its backup" + Because(errno) +
           " (--no-backup replaces it without one)";
  return result == BackupFailed ? NoBackupText(path, BackupError()) : "";
}

// Reads the whole of an open file into text: 0, or why it cannot.
int ReadAll(std::FILE* file, std::string* text) {
  char buffer[65536];
  for (std::size_t n = 0; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
    text->append(buffer, n);
  return std::ferror(file) ? (errno ? errno : EIO) : 0;
}

bool WriteWhole(const char* path, const std::string& text) {
  std::FILE* file = OpenStream(path, "wb");
  if (!file) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

// Whether unit continues a character: a UTF-8 byte after the first, or the
// second half of a UTF-16 surrogate pair.
template <typename Unit>
bool Continues(Unit unit) {
  const auto value = static_cast<std::make_unsigned_t<Unit>>(unit);
  if constexpr (sizeof(Unit) == 1)
    return (value & 0xC0U) == 0x80U;
  else
    return value >= 0xDC00U && value <= 0xDFFFU;
}

// The UTF-8 bytes that unit brings to a name. Names are measured in them on
// every system: never fewer than UTF-16 units, so that a name that fits on
// Windows fits too where Wine keeps it in UTF-8 on Linux.
template <typename Unit>
std::size_t BytesOf(Unit unit) {
  const auto value = static_cast<std::make_unsigned_t<Unit>>(unit);
  if constexpr (sizeof(Unit) == 1)
    return 1;
  else
    return value < 0x80U ? 1 : value < 0x800U || (value >= 0xD800U && value <= 0xDFFFU) ? 2 : 3;
}

// The start of text of at most bytes UTF-8 bytes, in whole characters.
template <typename Units>
Units Whole(const Units& text, std::size_t bytes) {
  std::size_t count = 0;
  std::size_t used = 0;
  while (count < text.size() && used + BytesOf(text[count]) <= bytes)
    used += BytesOf(text[count++]);
  if (count == text.size()) return text;
  while (count > 0 && Continues(text[count])) --count;
  return text.substr(0, count);
}

// A new file in folder named after name, made by us and no one else, under
// a name the system takes: the open file and the name it was made under, or
// null with *why.
std::FILE* MakePartial(const Folder& folder, const fs::path& name, const Original& original,
                       bool ownerOnly, fs::path* made, std::string* why) {
  using Units = fs::path::string_type;
  // A name no file has: the clock's count for a start, the next when one is taken.
  auto number =
      static_cast<unsigned long>(std::chrono::steady_clock::now().time_since_epoch().count());
  const std::size_t room = NameRoom(folder);
  for (int tries = 0; tries < 100; ++tries, ++number) {
    const Units suffix = fs::path(".asdtool-" + std::to_string(number % 1000000)).native();
    // The part taken from name gives way to the rest, never the number.
    const std::size_t rest = suffix.size() + 1;
    *made = Units(1, '.') + Whole(name.native(), room > rest ? room - rest : 0) + suffix;
    bool exists = false;
    std::FILE* file = MakeFile(folder, *made, original, ownerOnly, why, &exists);
    if (file || !exists) return file;
  }
  *why = CannotWrite(EEXIST);
  return nullptr;
}

// Writes the content of the file from into the file to, which is not a file
// on a disk (a FIFO, a device): "" or why it could not.
std::string CopyInto(std::FILE* from, const char* to) {
  std::string text;
  const int error = std::fseek(from, 0, SEEK_SET) == 0 ? ReadAll(from, &text) : EIO;
  if (error) return CannotWrite(error);
  errno = 0;
  return WriteWhole(to, text) ? "" : CannotWrite(errno);
}

// Fills file with fill, gives it what original had and puts it on the disk,
// or copies it into the file into: "" or why it could not. Closes file.
std::string Fill(std::FILE* file, const Original& original, const char* into,
                 const std::function<bool(std::FILE* file)>& fill) {
  std::string why = GiveOwner(file, original);
  errno = 0;
  if (why.empty() && !fill(file)) why = CannotWrite(errno);
  errno = 0;
  if (why.empty() && std::fflush(file) != 0) why = CannotWrite(errno);
  if (why.empty()) why = GiveRest(file, original);
  if (why.empty()) why = into ? CopyInto(file, into) : Synced(file);
  errno = 0;
  if (std::fclose(file) != 0 && why.empty()) why = CannotWrite(errno);
  return why;
}

}  // namespace

int ReadText(const char* path, std::string* text) {
  const bool standardInput = std::string(path) == "-";
  errno = 0;
  std::FILE* file = standardInput ? stdin : OpenStream(path, "rb");
  const int error = file ? ReadAll(file, text) : errno;
  // Only read from: closing it can lose nothing.
  if (file && !standardInput) (void)std::fclose(file);
  return error ? Fail(path, "cannot open the file" + Because(error), ExitNoFile) : ExitOk;
}

int WriteBeside(const char* path, bool force, const std::function<bool(std::FILE* file)>& fill) {
  const fs::path given = fs::u8path(path);
  std::error_code error;
  const fs::file_status status = fs::status(given, error);
  if (fs::is_directory(status)) return Fail(path, FolderText, ExitWriteFailed);
  if (!force && fs::exists(fs::symlink_status(given, error)))
    return Fail(path, ExistsText, ExitExists);
  error.clear();
  // A FIFO or a device is written into; a file on the disk is replaced by a
  // new one made beside it, or for the others in the folder for temporary files.
  const bool into = force && fs::exists(status) && !fs::is_regular_file(status);
  fs::path target = given;
  std::string why = into ? "" : FollowLinks(given, &target);
  Original original;
  if (why.empty() && force && !into) why = ReadOriginal(target, &original);
  const fs::path place = into ? fs::temp_directory_path(error) : target.parent_path();
  if (why.empty() && error) why = "cannot write the file" + Because(error);
  Folder folder;
  if (why.empty()) why = OpenFolder(place, &folder);
  if (!why.empty()) return Fail(path, why, ExitWriteFailed);
  // Nobody else reads a copy of an existing file while it is made.
  fs::path partial;
  std::FILE* file =
      MakePartial(folder, target.filename(), original, into || original.exists, &partial, &why);
  if (file) why = Fill(file, original, into ? path : nullptr, fill);
  if (why.empty() && original.exists) why = BackUpReplaced(path);
  bool exists = false;
  if (why.empty() && !into) why = Move(folder, partial, target, force, &exists);
  // Once moved, the new file is the target, and its folder goes to the disk too.
  if (why.empty() && !into)
    why = FlushFolder(folder);
  else if (file)
    Remove(folder, partial);
  CloseFolder(folder);
  if (why.empty()) return ExitOk;
  return exists ? Fail(path, ExistsText, ExitExists) : Fail(path, why, ExitWriteFailed);
}

int WriteText(const char* path, const std::string& text, bool force) {
  return WriteBeside(path, force, [&](std::FILE* file) {
    return std::fwrite(text.data(), 1, text.size(), file) == text.size();
  });
}
