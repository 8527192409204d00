// What asdtool tells its user: the exit codes, the messages on standard
// error, and the checked writes to standard output.
#ifndef ASDEDIT_TOOLS_ASDTOOL_MESSAGES_H
#define ASDEDIT_TOOLS_ASDTOOL_MESSAGES_H

#include <string>

#include "core/savefile.h"
#include "reasons.h"

enum ExitCode {
  ExitOk = 0,           // done; for diff: the files hold the same values
  ExitDiffer = 1,       // diff: the files hold different values
  ExitNoFile = 2,       // missing, a folder, or cannot be opened
  ExitNotSave = 3,      // the header or title record differs
  ExitShortFile = 4,    // the records match but the file ends too soon
  ExitWriteFailed = 5,  // cannot write a file or standard output
  ExitRefused = 6,      // a document or KEY=VALUE names a value the editor would not take
  ExitExists = 7,       // the file to write exists and --force is not given
  ExitUsage = 8,        // an unknown command or option, or arguments missing or too many
  ExitChanged = 9       // another program changed the save file after it was read
};

// Prints "asdtool: PLACE: why" on standard error and returns code.
int Fail(const std::string& place, const std::string& why, int code);

// Whether the commands make backups: they do, unless --no-backup says otherwise.
void SetBackups(bool wanted);
bool BackupsWanted();

// Why no backup of the save at path could be made, error being the
// system's error code, and what the user can do.
std::string NoBackupText(const char* path, unsigned long error);

// Writes text to standard output: ExitOk, or ExitWriteFailed with a message.
int WriteOut(const std::string& text);

// Loads the save file at path into block as the editor would; on failure
// says why and returns the exit code.
int Load(const char* path, GameStateData* block);

// Writes values into the save file at path, loaded last, through the
// editor's own store, after a backup of it unless --no-backup says otherwise:
// only while the file still holds the words that load read, checked in the
// same open as the write; else nothing is written (ExitChanged).
int Store(const char* path, const GameStateData& values);

#endif
