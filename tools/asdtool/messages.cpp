#include "messages.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "core/backup.h"
#include "system.h"

namespace {
bool Wanted = true;  // whether the commands make backups
}  // namespace

void SetBackups(bool wanted) { Wanted = wanted; }
bool BackupsWanted() { return Wanted; }

std::string NoBackupText(const char* path, unsigned long error) {
  const std::filesystem::path folder =
      std::filesystem::u8path(path).parent_path() / BackupFolderName;
  return "cannot make a backup in " + folder.u8string() + Because(SystemCode(error)) +
         "; nothing written (--no-backup writes without one)";
}

int Fail(const std::string& place, const std::string& why, int code) {
  // Nothing more can be said when standard error itself fails.
  (void)WriteStream(stderr, "asdtool: " + place + ": " + why + "\n");
  return code;
}

int WriteOut(const std::string& text) {
  const std::string why = WriteStream(stdout, text);
  return why.empty() ? ExitOk : Fail("standard output", "cannot write" + why, ExitWriteFailed);
}

namespace {

// Says why a load or store of path failed with result, the system's reason
// being error (errno right after it); returns the exit code.
int Explain(const char* path, int result, int error) {
  switch (result) {
    case HeaderMismatch:
      return Fail(path, "not a save file (its header or title record differs)", ExitNotSave);
    case FileTooShort:
      return Fail(path, "the save file is cut short (it ends before its last value region)",
                  ExitShortFile);
    case OpenFailed:
      return Fail(path, "cannot open the file" + Because(error), ExitNoFile);
    default:
      return Fail(path, "cannot write the file" + Because(error), ExitWriteFailed);
  }
}

}  // namespace

int Load(const char* path, GameStateData* block) {
  errno = 0;
  const int result = LoadSaveFile(path);
  const int error = errno;  // why the file could not be opened or read
  if (result == 0) *block = GameState;
  return result == 0 ? ExitOk : Explain(path, result, error);
}

int Store(const char* path, const GameStateData& values) {
  GameState = values;
  errno = 0;
  const int result = StoreValues(path, UnlessChanged, BackupsWanted() ? WithBackup : WithoutBackup);
  const int error = errno;
  if (result == BackupFailed) return Fail(path, NoBackupText(path, BackupError()), ExitWriteFailed);
  if (result == ChangedOutside)
    return Fail(path, "another program changed the file after it was read; run the command again",
                ExitChanged);
  // The file was opened for reading just before: one that cannot be opened
  // for writing now is one we cannot write.
  return result == 0 ? ExitOk : Explain(path, result == OpenFailed ? WriteFailed : result, error);
}
