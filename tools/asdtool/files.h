// The files asdtool reads and writes besides save files, by UTF-8 paths.
#ifndef ASDEDIT_TOOLS_ASDTOOL_FILES_H
#define ASDEDIT_TOOLS_ASDTOOL_FILES_H

#include <cstdio>
#include <functional>
#include <string>

// Reads the whole of the file at path ("-": standard input) into text:
// ExitOk, or ExitNoFile with a message (a folder cannot be opened either).
int ReadText(const char* path, std::string* text);

// Writes the file at path with fill, which writes the new file into the
// stream it is given (open for reading and writing, at its start) and says
// whether it did. Without force, path must not exist, nor come to exist
// before the file is in place. With force, a symbolic link stays: the file
// at the end of its chain is made or replaced; a FIFO or a device is written
// into as standard output is. The new file and its folder are on the disk
// before ExitOk: a replaced file is either the old one or the whole new one,
// even after a crash. On any failure nothing is left but what was there.
// Returns an exit code, with a message.
int WriteBeside(const char* path, bool force, const std::function<bool(std::FILE* file)>& fill);

// Writes text to the file at path, as WriteBeside does.
int WriteText(const char* path, const std::string& text, bool force);

#endif
