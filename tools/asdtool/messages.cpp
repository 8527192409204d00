#include "messages.h"

#include <cstdio>

int Fail(const std::string& place, const std::string& why, int code) {
  const std::string line = "asdtool: " + place + ": " + why + "\n";
  // Nothing more can be said when standard error itself fails.
  (void)std::fputs(line.c_str(), stderr);
  return code;
}

int WriteOut(const std::string& text) {
  const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  if (std::fflush(stdout) == 0 && written) return ExitOk;
  return Fail("standard output", "cannot write", ExitWriteFailed);
}

namespace {

// Says why a load or store of path failed with result; returns the exit code.
int Explain(const char* path, int result) {
  switch (result) {
    case HeaderMismatch:
      return Fail(path, "not a save file (its header or title record differs)", ExitNotSave);
    case FileTooShort:
      return Fail(path, "the save file is cut short (it ends before its last value region)",
                  ExitShortFile);
    case OpenFailed:
      return Fail(path, "cannot open the file", ExitNoFile);
    default:
      return Fail(path, "cannot write the file", ExitWriteFailed);
  }
}

}  // namespace

int Load(const char* path, GameStateData* block) {
  const int result = LoadSaveFile(path);
  if (result == 0) *block = GameState;
  return result == 0 ? ExitOk : Explain(path, result);
}

int Store(const char* path, const GameStateData& values) {
  GameState = values;
  const int result = StoreSaveFile(path);
  // The file was opened for reading just before: one that cannot be opened
  // for writing now is one we cannot write.
  return result == 0 ? ExitOk : Explain(path, result == OpenFailed ? WriteFailed : result);
}
