// The commands of asdtool; each returns its exit code (see messages.h).
#ifndef ASDEDIT_TOOLS_ASDTOOL_COMMANDS_H
#define ASDEDIT_TOOLS_ASDTOOL_COMMANDS_H

#include <cstdint>
#include <string>
#include <vector>

// report.cpp: the values of a save file, and the values two files differ in.
int InfoCommand(const char* path);
int DiffCommand(const char* pathA, const char* pathB);

// sample.cpp: a new synthetic save file, the same for the same seed.
int SampleCommand(const char* path, std::uint32_t seed, bool force);

// edit.cpp: the values as a JSON document, and changes to them by one.
int ExportCommand(const char* path, const std::string& outPath, bool force);
int ImportCommand(const char* path, const std::string& docPath);
int SetCommand(const char* path, const std::vector<std::string>& settings);

// backups.cpp: the backups of a save file, newest first, and one of them
// written back over it (number 0: the newest).
int BackupsCommand(const char* path);
int RestoreCommand(const char* path, unsigned long number);

#endif
