// What asdtool asks of the operating system, Windows or POSIX, in one place:
// its arguments, its console, and the steps of writing a file safely.
#ifndef ASDEDIT_TOOLS_ASDTOOL_SYSTEM_H
#define ASDEDIT_TOOLS_ASDTOOL_SYSTEM_H

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "reasons.h"

// The process's arguments in UTF-8 (on Windows from the wide command line,
// argv aside): ExitOk, or ExitUsage with a message when one is no valid
// Unicode or the command line cannot be read.
int ReadArguments(int argc, char** argv, std::vector<std::string>* args);

// Writes the UTF-8 text whole to stream, standard output or error: "" or
// ": " and why not. A Windows console takes it in UTF-16, its code page as it
// was; anything else takes the UTF-8 bytes.
std::string WriteStream(std::FILE* stream, const std::string& text);

// A new file at path, made by this call and no other: its descriptor, or -1
// with errno saying why.
// Readable by its owner alone when ownerOnly (a copy of a file whose own
// permissions come later).
int OpenNew(const std::filesystem::path& path, bool ownerOnly);
// Puts the file's data on the disk; 0 or -1.
int Flush(int descriptor);
int Close(int descriptor);

// Moves the file from to to, over a file there only when replace is set: ""
// or what keeps it from moving; *exists when a file at to is in the way.
std::string Move(const std::filesystem::path& from, const std::filesystem::path& to, bool replace,
                 bool* exists);

#endif
