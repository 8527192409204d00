// What asdtool asks of the operating system, Windows or POSIX, in one place:
// its arguments, its console, and the steps of writing a file safely.
#ifndef ASDEDIT_TOOLS_ASDTOOL_SYSTEM_H
#define ASDEDIT_TOOLS_ASDTOOL_SYSTEM_H

#include <filesystem>
#include <string>
#include <vector>

// The process's arguments in UTF-8 (on Windows from the wide command line,
// argv aside): ExitOk, or ExitUsage with a message when one is no valid
// Unicode or the command line cannot be read.
int ReadArguments(int argc, char** argv, std::vector<std::string>* args);

// Makes the console show UTF-8 while asdtool runs; the page to give back.
unsigned UseUtf8Console();
void RestoreConsole(unsigned page);

// A new file at path, made by this call and no other: its descriptor, or -1
// with errno saying why.
int OpenNew(const std::filesystem::path& path);
// Puts the file's data on the disk; 0 or -1.
int Flush(int descriptor);
int Close(int descriptor);

// Moves the file from to to, over a file there only when replace is set: ""
// or what keeps it from moving; *exists when a file at to is in the way.
std::string Move(const std::filesystem::path& from, const std::filesystem::path& to, bool replace,
                 bool* exists);

#endif
