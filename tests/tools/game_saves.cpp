// A seam of the tests' build of asdtool: the game saves into the save file
// while asdtool runs, just as asdtool opens the file to write it in place.
#include <cstdio>
#include <cstring>

#include "support/model.h"

extern "C" std::FILE* __real_fopen(const char* path,
                                   const char* mode);  // NOLINT(bugprone-reserved-identifier)

extern "C" std::FILE* __wrap_fopen(const char* path,
                                   const char* mode) {  // NOLINT(bugprone-reserved-identifier)
  if (std::strcmp(mode, "r+b") == 0) {
    Bytes bytes = ReadBytes(path);
    PutWord(bytes, CounterOffset(CounterCount - 1), GameSavedCounter);
    WriteBytes(path, bytes);
  }
  return __real_fopen(path, mode);
}
