#include "files.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "editor/savefile.h"
#include "messages.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

std::filesystem::path FsPath(const char* path) { return std::filesystem::u8path(path); }

// Moves the file from onto to, replacing a file there; false when it cannot.
#ifdef _WIN32
bool MoveOnto(const char* from, const char* to) {
  wchar_t wideFrom[MAX_PATH];
  wchar_t wideTo[MAX_PATH];
  return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, from, -1, wideFrom, MAX_PATH) &&
         MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, to, -1, wideTo, MAX_PATH) &&
         MoveFileExW(wideFrom, wideTo, MOVEFILE_REPLACE_EXISTING);
}
#else
bool MoveOnto(const char* from, const char* to) { return std::rename(from, to) == 0; }
#endif

bool WriteWhole(const char* path, const std::string& text) {
  std::FILE* file = OpenStream(path, "wb");
  if (!file) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int ReadText(const char* path, std::string* text) {
  const bool standardInput = std::string(path) == "-";
  std::FILE* file = standardInput ? stdin : OpenStream(path, "rb");
  if (!file) return Fail(path, "cannot open the file", ExitNoFile);
  char buffer[65536];
  for (std::size_t n = 0; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
    text->append(buffer, n);
  const bool read = std::ferror(file) == 0;
  // Only read from: closing it can lose nothing.
  if (!standardInput) (void)std::fclose(file);
  return read ? ExitOk : Fail(path, "cannot open the file", ExitNoFile);
}

int WriteBeside(const char* path, bool force, const std::function<bool(const char* file)>& write) {
  std::error_code error;
  if (!force && std::filesystem::exists(FsPath(path), error))
    return Fail(path, "the file exists (use --force to overwrite it)", ExitExists);
  // Beside path, so that the move is a rename within one folder.
  const std::string partial = std::string(path) + ".asdtool-partial";
  if (write(partial.c_str()) && MoveOnto(partial.c_str(), path)) return ExitOk;
  std::filesystem::remove(FsPath(partial.c_str()), error);
  return Fail(path, "cannot write the file", ExitWriteFailed);
}

int WriteText(const char* path, const std::string& text, bool force) {
  return WriteBeside(path, force, [&](const char* file) { return WriteWhole(file, text); });
}
