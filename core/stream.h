// Files as streams, for every program: opened by a UTF-8 path of any
// characters, and put on the disk.
#ifndef ASDEDIT_CORE_STREAM_H
#define ASDEDIT_CORE_STREAM_H

#include <cstdio>

// A system's error code: errno's on POSIX, GetLastError's on Windows; 0 for none.
typedef unsigned long SystemError;

// Opens the file at path with an fopen mode ("rb", "r+b", "wb"); null, with
// errno saying why, when it cannot be opened. On Windows the path is opened
// whole in its UTF-16 form (WidePath); one that is no UTF-8 is refused, never
// mended.
std::FILE* OpenStream(const char* path, const char* mode);

#ifdef _WIN32
// The UTF-16 units a path takes on Windows, its terminator too.
const int WidePathUnits = 1024;
// path as the wide calls take it at any length, in wide (WidePathUnits): as
// it is where every plain call takes it (shorter than MAX_PATH - 12, a
// folder's limit) or where it names a device (\\?\, \\.\), else made whole
// after \\?\ (\\?\UNC\ for a share). false when it is too long even so.
bool LongPath(const wchar_t* path, wchar_t* wide);
// The same for a UTF-8 path; false too when it is no UTF-8.
bool WidePath(const char* path, wchar_t* wide);
#endif

// Puts what was written through file on the disk: 0, or why it could not.
SystemError SyncStream(std::FILE* file);

#endif
