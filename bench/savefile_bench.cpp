// Times LoadSaveFile, StoreSaveFile and the editor's save, StoreSaveFileIfUnchanged
// (which reads every value region back before it writes), against the least a
// load or a store of the same file can cost: opening it, reading its header
// and closing it, and opening it for update and closing it.
//   savefile_bench make PATH            writes a save file with in-range values
//   savefile_bench load|store|save PATH one load, or a load and then a store
//                                       or a save (for a system-call trace)
//   savefile_bench time PATH            figures, in microseconds per operation
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/savefile.h"

namespace {

int Make(const char* path) {
  std::vector<unsigned char> bytes(SaveFileMinLength + 1000);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i * 7 % 5);
  std::memcpy(&bytes[0], SaveHeaderText, SaveHeaderLength);
  std::memcpy(&bytes[96], SaveTitleText, SaveTitleLength);
  std::FILE* file = std::fopen(path, "wb");
  if (!file) return 1;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok ? 0 : 1;
}

int OpenReadClose(const char* path) {
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return -1;
  char header[SaveHeaderLength + 1];
  std::size_t n = std::fread(header, 1, sizeof header, file);
  (void)std::fclose(file);  // only read
  return n == sizeof header ? 0 : -1;
}

int OpenUpdateClose(const char* path) {
  std::FILE* file = std::fopen(path, "r+b");
  if (!file) return -1;
  return std::fclose(file) == 0 ? 0 : -1;
}

// Median over rounds of the mean time of one call, in microseconds.
double Microseconds(int (*operation)(const char*), const char* path) {
  const int Rounds = 15, Calls = 100;
  std::vector<double> means;
  for (int r = 0; r < Rounds; ++r) {
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < Calls; ++i)
      if (operation(path) != 0) return -1;
    std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
    means.push_back(spent.count() / Calls);
  }
  std::sort(means.begin(), means.end());
  return means[Rounds / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    (void)std::fprintf(stderr, "usage: savefile_bench make|load|store|save|time PATH\n");
    return 2;
  }
  const char* mode = argv[1];
  const char* path = argv[2];
  if (std::strcmp(mode, "make") == 0) return Make(path);
  if (std::strcmp(mode, "load") == 0) return LoadSaveFile(path) == 0 ? 0 : 1;
  if (std::strcmp(mode, "store") == 0)
    return LoadSaveFile(path) == 0 && StoreSaveFile(path) == 0 ? 0 : 1;
  if (std::strcmp(mode, "save") == 0)
    return LoadSaveFile(path) == 0 && StoreSaveFileIfUnchanged(path) == 0 ? 0 : 1;
  if (std::strcmp(mode, "time") != 0 || LoadSaveFile(path) != 0) return 2;
  double load = Microseconds(LoadSaveFile, path);
  double store = Microseconds(StoreSaveFile, path);
  double save = Microseconds(StoreSaveFileIfUnchanged, path);
  double openRead = Microseconds(OpenReadClose, path);
  double openUpdate = Microseconds(OpenUpdateClose, path);
  std::printf("load_us=%.1f open_read_close_us=%.1f load_ratio=%.2f\n", load, openRead,
              load / openRead);
  std::printf("store_us=%.1f open_update_close_us=%.1f store_ratio=%.2f\n", store, openUpdate,
              store / openUpdate);
  std::printf("save_us=%.1f save_ratio=%.2f\n", save, save / openUpdate);
  return load < 0 || store < 0 || save < 0 ? 1 : 0;
}
