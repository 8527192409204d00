// The backups asdtool makes before it writes over a save file (in place, or
// replacing it whole), as the editor makes them (core/backup.h).
#ifndef ASDEDIT_TOOLS_ASDTOOL_BACKUPS_H
#define ASDEDIT_TOOLS_ASDTOOL_BACKUPS_H

#include <string>

// Before the file at path is replaced whole (sample --force, export -o
// --force): makes its backup when it is a save file. "" or why none could
// be made.
std::string BackUpReplaced(const char* path);

#endif
