// backups and restore: the backups of a save, and one written back over it.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "commands.h"
#include "core/backup.h"
#include "core/savefile.h"
#include "editor/texts.h"  // in UTF-8 here
#include "files.h"
#include "messages.h"
#include "system.h"

namespace {

const char DiffersHeading[] = u8"今と違う値";
const char OpenedText[] = u8"エディタで開いたとき";
const char IncompleteText[] = u8"完全なセーブデータではありません";

// One backup of a save.
struct Backup {
  std::string path;
  BackupName name;
};

void Collect(void* context, const char* path, const BackupName& name) {
  static_cast<std::vector<Backup>*>(context)->push_back({path, name});
}

// The backups of the save at path, newest first: ExitOk, or ExitNoFile with
// a message when the save's folder or its backup folder cannot be read.
int Backups(const char* path, std::vector<Backup>* backups) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::u8path(path).parent_path();
  std::error_code error;
  const fs::file_status status = fs::status(folder.empty() ? "." : folder, error);
  if (!fs::is_directory(status))
    return Fail(path,
                "cannot read the folder of the file" +
                    (error ? Because(error) : Because(fs::exists(status) ? ENOTDIR : ENOENT)),
                ExitNoFile);
  const SystemError listed = ListBackups(path, Collect, backups);
  if (listed != 0)
    return Fail(
        path,
        std::string("cannot read the folder ") + BackupFolderName + Because(SystemCode(listed)),
        ExitNoFile);
  std::sort(backups->begin(), backups->end(), [](const Backup& a, const Backup& b) {
    return a.name.sequence != b.name.sequence ? a.name.sequence > b.name.sequence : a.path > b.path;
  });
  return ExitOk;
}

// How many values differ between a and b.
int Differing(const GameStateData& a, const GameStateData& b) {
  int count = 0;
  for (int row = 0; row < GameValueCount; ++row)
    for (int k = 0; k < GameValues[row].count; ++k)
      count += ValueWords(&a, row)[k] != ValueWords(&b, row)[k];
  return count;
}

// One backup as backups lists it, against the save's values now (none when
// it is no complete save file).
std::string Line(const Backup& backup, const GameStateData* now) {
  std::string time = backup.name.time;
  time[10] = ' ';
  time[13] = time[16] = ':';
  std::string number = std::to_string(backup.name.sequence);
  std::string line =
      std::string(number.size() < 4 ? 4 - number.size() : 0, '0') + number + "  " + time + "  ";
  if (LoadSaveFile(backup.path.c_str()) != 0) return line + IncompleteText + "\n";
  line += std::string(ValueLabels[TurnCountValue]) + " " + std::to_string(GameState.turnCount) +
          "  " + DiffersHeading + " " + (now ? std::to_string(Differing(GameState, *now)) : "-");
  return line + (backup.name.opened ? std::string("  ") + OpenedText : "") + "\n";
}

// Ends the open file at length.
int Cut(std::FILE* file, long length) {
#ifdef _WIN32
  return _chsize(_fileno(file), length);
#else
  return ftruncate(fileno(file), length);
#endif
}

// Writes bytes over the file at path, in place, its length too, after its
// backup, which leaves the backup numbered from where the bytes come; a
// missing file is made.
int WriteInPlace(const char* path, const std::string& bytes, unsigned long from) {
  errno = 0;
  std::FILE* file = OpenStream(path, "r+b");
  const bool existed = file != nullptr;
  if (!file && errno == ENOENT) file = OpenStream(path, "wb");
  if (!file)
    return Fail(path, "cannot open the file for writing" + Because(errno), ExitWriteFailed);
  const SystemError error = existed && BackupsWanted() ? BackUp(path, file, false, from) : 0;
  if (error != 0) {
    (void)std::fclose(file);  // nothing written
    return Fail(path, NoBackupText(path, error), ExitWriteFailed);
  }
  errno = 0;
  bool written = std::fseek(file, 0, SEEK_SET) == 0 &&
                 std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() &&
                 std::fflush(file) == 0 && Cut(file, static_cast<long>(bytes.size())) == 0 &&
                 SyncStream(file) == 0;
  int why = errno;
  if (std::fclose(file) != 0 && written) {
    written = false;
    why = errno;
  }
  return written ? ExitOk : Fail(path, "cannot write the file" + Because(why), ExitWriteFailed);
}

}  // namespace

int BackupsCommand(const char* path) {
  std::vector<Backup> backups;
  const int code = Backups(path, &backups);
  if (code != ExitOk) return code;
  GameStateData now;
  const bool whole = LoadSaveFile(path) == 0;
  now = GameState;
  std::string text;
  for (const Backup& backup : backups) text += Line(backup, whole ? &now : nullptr);
  return WriteOut(text);
}

int RestoreCommand(const char* path, unsigned long number) {
  std::vector<Backup> backups;
  int code = Backups(path, &backups);
  if (code != ExitOk) return code;
  const auto chosen = std::find_if(backups.begin(), backups.end(), [&](const Backup& backup) {
    return number == 0 || backup.name.sequence == number;
  });
  if (chosen == backups.end())
    return Fail(path, number ? "has no backup numbered " + std::to_string(number) : "has no backup",
                ExitNoFile);
  // Only a complete save file goes back over the save.
  GameStateData values;
  code = Load(chosen->path.c_str(), &values);
  std::string bytes;
  if (code == ExitOk) code = ReadText(chosen->path.c_str(), &bytes);
  return code == ExitOk ? WriteInPlace(path, bytes, chosen->name.sequence) : code;
}
