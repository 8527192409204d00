#include "files.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "backups.h"
#include "editor/savefile.h"
#include "messages.h"
#include "replace.h"
#include "system.h"

namespace {

namespace fs = std::filesystem;

const char ExistsText[] = "the file exists (use --force to overwrite it)";
const char FolderText[] = "is a folder, not a file to write";

std::string CannotWrite(int error) { return "cannot write the file" + Because(error); }

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

// A new file in folder named after name, made by us and no one else: its path
// and open descriptor, or the descriptor -1 with errno saying why.
struct Partial {
  fs::path path;
  int descriptor;
};
Partial MakePartial(const fs::path& folder, const fs::path& name, bool ownerOnly) {
  // A name no file has: the clock's count for a start, the next when one is taken.
  auto number =
      static_cast<unsigned long>(std::chrono::steady_clock::now().time_since_epoch().count());
  for (int tries = 0; tries < 100; ++tries, ++number) {
    const std::string suffix = ".asdtool-" + std::to_string(number % 1000000);
    const fs::path path = folder / fs::u8path("." + name.u8string() + suffix);
    const int descriptor = OpenNew(path, ownerOnly);
    if (descriptor >= 0 || errno != EEXIST) return {path, descriptor};
  }
  return {{}, -1};
}

// Fills the partial file with fill, gives it what original had and puts it
// on the disk: "" or why it could not.
std::string Fill(const Partial& partial, const Original& original,
                 const std::function<bool(const char* file)>& fill) {
  std::string why = GiveOwner(partial.descriptor, original);
  errno = 0;
  if (why.empty() && !fill(partial.path.u8string().c_str())) why = CannotWrite(errno);
  if (why.empty()) why = GiveRest(partial.descriptor, partial.path, original);
  errno = 0;
  if (why.empty() && Flush(partial.descriptor) != 0) why = CannotWrite(errno);
  errno = 0;
  if (Close(partial.descriptor) != 0 && why.empty()) why = CannotWrite(errno);
  return why;
}

// Writes the content of the file from into the file to, which is not a file
// on a disk (a FIFO, a device): "" or why it could not.
std::string CopyInto(const fs::path& from, const char* to) {
  std::string text;
  std::FILE* in = OpenStream(from.u8string().c_str(), "rb");
  int error = in ? ReadAll(in, &text) : errno;
  if (in) (void)std::fclose(in);  // only read: closing it can lose nothing
  errno = 0;
  if (error == 0 && !WriteWhole(to, text)) error = errno ? errno : EIO;
  return error ? CannotWrite(error) : "";
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

int WriteBeside(const char* path, bool force, const std::function<bool(const char* file)>& fill) {
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
  const fs::path folder = into ? fs::temp_directory_path(error) : target.parent_path();
  if (why.empty() && error) why = "cannot write the file" + Because(error);
  if (!why.empty()) return Fail(path, why, ExitWriteFailed);
  // Nobody else reads a copy of an existing file while it is made.
  const Partial partial = MakePartial(folder, given.filename(), into || original.exists);
  if (partial.descriptor < 0) return Fail(path, CannotWrite(errno), ExitWriteFailed);
  why = Fill(partial, original, fill);
  if (why.empty() && original.exists) why = BackUpReplaced(path);
  bool exists = false;
  if (why.empty())
    why = into ? CopyInto(partial.path, path) : Move(partial.path, target, force, &exists);
  if (into || !why.empty()) fs::remove(partial.path, error);
  if (why.empty()) return ExitOk;
  return exists ? Fail(path, ExistsText, ExitExists) : Fail(path, why, ExitWriteFailed);
}

int WriteText(const char* path, const std::string& text, bool force) {
  return WriteBeside(path, force, [&](const char* file) { return WriteWhole(file, text); });
}
