// The files asdtool reads and writes besides save files, by UTF-8 paths.
#ifndef ASDEDIT_TOOLS_ASDTOOL_FILES_H
#define ASDEDIT_TOOLS_ASDTOOL_FILES_H

#include <functional>
#include <string>

// Reads the whole of the file at path ("-": standard input) into text:
// ExitOk, or ExitNoFile with a message (a folder cannot be opened either).
int ReadText(const char* path, std::string* text);

// Makes the file at path with write, which fills the file it is given (a
// new one beside path) and says whether it did; that file then replaces
// path, which must not exist unless force is set. On any failure nothing is
// left at path but what was there. Returns an exit code, with a message.
int WriteBeside(const char* path, bool force, const std::function<bool(const char* file)>& write);

// Writes text to the file at path, as WriteBeside does.
int WriteText(const char* path, const std::string& text, bool force);

#endif
