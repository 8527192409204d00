// Fuzzing a load and a store of the save file over real files, against the
// tests' model of the format. Input: byte 0 bit 0 clear, the rest is the file
// as it is; set, the file is a complete save file cut to the length in bytes
// 1-2 (bit 1 set) or grown or cut by that signed number (clear), with
// [offset: 3 bytes][byte] patches after them.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "support/model.h"

namespace {
void Check(bool ok, const char* what) {
  if (ok) return;
  (void)std::fprintf(stderr, "savefile_fuzz: %s\n", what);  // aborting either way
  std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Bytes base = SyntheticSave(7);
  static const GameStateData other = StateOf(SyntheticSave(8));
  static const std::string path = ScratchDir() + "s1.asd";
  Bytes file(data + (size > 0), data + size);
  if (size > 2 && data[0] & 1) {
    unsigned raw = data[1] | data[2] << 8;
    std::size_t length = data[0] & 2 ? raw : ModelLength + static_cast<std::int16_t>(raw);
    file.assign(base.begin(), base.begin() + std::min(length, base.size()));
    file.resize(length);
    for (std::size_t at = 3; at + 4 <= size; at += 4)
      if (length) file[(data[at] | data[at + 1] << 8 | data[at + 2] << 16) % length] = data[at + 3];
  }
  Check(WriteBytes(path, file), "cannot write the scratch file");
  int expected = file.size() < 128 || std::memcmp(&file[0], &base[0], 83) ||
                         std::memcmp(&file[96], &base[96], 32)
                     ? HeaderMismatch
                 : file.size() < static_cast<std::size_t>(ModelLength) ? FileTooShort
                                                                       : 0;
  GameState = other;
  Check(LoadSaveFile(path.c_str()) == expected, "a load gives another result than the model");
  if (expected != 0) {
    Check(GameState == other, "a refused load changed the values");
    Check(StoreSaveFile(path.c_str()) == expected,
          "a store into a refused file is not refused alike");
    Check(ReadBytes(path) == file, "a refused store changed the file");
    return 0;
  }
  Check(GameState == StateOf(file), "a load gives other values than the model");
  GameState = other;
  Check(StoreSaveFile(path.c_str()) == 0, "a store into a complete file failed");
  Check(ReadBytes(path) == Stored(file, other), "a store wrote other bytes than the model");
  return 0;
}
