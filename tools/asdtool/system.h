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

// The folder a file is made in and moved within, opened once. On POSIX
// every name in it is reached through its descriptor, so that a path near
// the system's limit, or the folder renamed meanwhile, changes nothing; on
// Windows through its full path.
struct Folder {
  std::filesystem::path path;  // Windows: the full path
  int descriptor = -1;         // POSIX
};
// Opens the folder at path ("" the current one): "" or why not.
std::string OpenFolder(const std::filesystem::path& path, Folder* folder);
void CloseFolder(const Folder& folder);
// The longest name a new file in folder may have, in UTF-8 bytes (on Windows
// kept within the limit of a path too).
std::size_t NameRoom(const Folder& folder);

// Moves the file name of folder to the file to, in the same folder, over a
// file there only when replace is set: "" or what keeps it from moving;
// *exists when a file at to is in the way.
std::string Move(const Folder& folder, const std::filesystem::path& name,
                 const std::filesystem::path& to, bool replace, bool* exists);
// Puts the folder's entries on the disk after a move (on Windows the move
// did): "" or why not.
std::string FlushFolder(const Folder& folder);
// Removes the file name of folder, where it can.
void Remove(const Folder& folder, const std::filesystem::path& name);
#ifdef _WIN32
// The path of the file name in folder as the system takes it: in its long
// form (\\?\) where the plain one would be too long.
std::filesystem::path PathIn(const Folder& folder, const std::filesystem::path& name);
#endif

#endif
