// Files as streams, for every program: opened by a UTF-8 path of any
// characters, and put on the disk.
#ifndef ASDEDIT_CORE_STREAM_H
#define ASDEDIT_CORE_STREAM_H

#include <cstdio>

// A system's error code: errno's on POSIX, GetLastError's on Windows; 0 for none.
typedef unsigned long SystemError;

// Opens the file at path with an fopen mode ("rb", "r+b", "wb"); null, with
// errno saying why, when it cannot be opened. On Windows the path is opened
// in its UTF-16 form, and one that is no UTF-8 or longer than the platform's
// plain API takes (MAX_PATH UTF-16 units with the terminator) is refused
// whole, never cut.
std::FILE* OpenStream(const char* path, const char* mode);

// Puts what was written through file on the disk: 0, or why it could not.
SystemError SyncStream(std::FILE* file);

#endif
