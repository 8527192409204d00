// Backups of save files, for every program: before a save is written, a whole
// copy of it goes into the folder asdedit-backups beside it, named after the
// save with a sequence number and the local time it was made. Standard C++
// with thin calls of the platform (the wide functions on Windows), so that
// the editor and asdtool, on Windows and on Linux, find the same backups.
#ifndef ASDEDIT_CORE_BACKUP_H
#define ASDEDIT_CORE_BACKUP_H

#include <cstddef>
#include <cstdio>

#include "stream.h"

const char BackupFolderName[] = "asdedit-backups";

// The newest backups kept of each save. Besides them, the newest backup
// marked as the first after the editor opened the save is kept too.
const int BackupsKept = 20;

// A file name of the backups' naming, "s1.asd.0007.2026-12-08_10-15-00.bak",
// or ".opened.bak" at its end for the first backup after the editor opened
// the save.
struct BackupName {
  unsigned long sequence;  // one more for each backup of the save: the order of the backups
  bool opened;
  char time[20];  // the local time it was made, YYYY-MM-DD_HH-MM-SS
};

// Whether name (a file name, UTF-8) is a backup of the save named saveName, and which.
bool ReadBackupName(const char* name, const char* saveName, BackupName* backup);

// Calls visit with the path and name of every backup of the save at
// savePath (UTF-8). A missing folder holds none. 0, or why the folder cannot
// be read.
typedef void (*BackupVisit)(void* context, const char* path, const BackupName& backup);
SystemError ListBackups(const char* savePath, BackupVisit visit, void* context);

// Makes a backup of the save at savePath, whose whole content it reads
// through file, the save's open stream: a new file, made exclusively, written
// whole and put on the disk; on POSIX readable by others no more than the
// save, on Windows with the permissions its folder gives new files. None
// when the newest backup holds the same bytes already; opened marks the
// backup as the first after the editor opened the save, the newest backup
// too when it holds the same bytes. Then removes the backups no longer kept,
// but the one numbered spared (a restore's, still to be written). 0, or why
// no backup could be made.
SystemError BackUp(const char* savePath, std::FILE* file, bool opened, unsigned long spared = 0);

#endif
