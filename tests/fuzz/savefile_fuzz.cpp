// Fuzzing the save file's load and store over real files, checked against a
// model of the format written here from scratch.
//
// Input: byte 0 chooses the mapping.
//   bit 0 clear: the file is the rest of the input, as it is (short and
//         foreign files).
//   bit 0 set: the file is a valid image, cut or grown to a length taken from
//         bytes 1-2 (bit 1 set: that length; clear: the least length of a
//         complete file plus that signed 16-bit number), with patches
//         [offset: 3 bytes][count][count bytes] applied at offset modulo the
//         length; byte 3 gives a number of edits [word: 2 bytes][value:
//         2 bytes] made to GameState before a store.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "editor/savefile.h"

namespace {

typedef std::vector<unsigned char> Bytes;

// The model of the format.
const std::size_t ModelMinLength = 282436 + 100;
const char ModelHeader[] =
    "This is save data for Kelvas3.5 Win95 For PLOV/RMX system       (C) 1996 BRANVIK-CO";
const unsigned char ModelTitle[32] = {0x83, 0x82, 0x83, 0x8B, 0x83, 0x5F, 0x83, 0x93, 0x81, 0x45, 0x83,
                                      0x73, 0x83, 0x4E, 0x83, 0x5A, 0x83, 0x8A, 0x83, 0x49, 0x83, 0x93,
                                      0x20, 0x2D, 0x20, 0x4B, 0x65, 0x6C, 0x76, 0x61, 0x73, 0x20};
const long ModelRowOffsets[16] = {276836, 278836, 277236, 281236, 277636, 278036, 279636, 280036,
                                  280436, 280836, 281636, 282036, 274836, 275236, 282436, 278436};
const int ModelEndRow = 15;
const int WordCount = 3 + 1 + 54 + 16 * 50;

// Word w of a state, in the order smallValues, turnCount, counters, statRows.
std::uint16_t* WordOf(GameStateData& state, int w) {
  if (w < 3) return &state.smallValues[w];
  if (w == 3) return &state.turnCount;
  if (w < 58) return &state.counters[w - 4];
  return &state.statRows[(w - 58) / 50][(w - 58) % 50];
}

// Where word w lies in the file, and whether it is stored inverted.
long FileOffsetOf(int w, bool* inverted) {
  *inverted = false;
  if (w < 3) return 532 + 2 * w;
  if (w == 3) return 364;
  if (w < 4 + 42) return 1070 + 2 * (w - 4);
  if (w < 58) return 916 + 2 * (w - 46);
  int row = (w - 58) / 50;
  *inverted = row == ModelEndRow;
  return ModelRowOffsets[row] + 2 * ((w - 58) % 50);
}

// The result a load of these bytes must give.
int ModelResult(const Bytes& file) {
  if (file.size() < 83 || std::memcmp(&file[0], ModelHeader, 83) != 0) return HeaderMismatch;
  if (file.size() < 128 || std::memcmp(&file[96], ModelTitle, 32) != 0) return HeaderMismatch;
  if (file.size() < ModelMinLength) return FileTooShort;
  return 0;
}

GameStateData ModelDecode(const Bytes& file) {
  GameStateData state;
  for (int w = 0; w < WordCount; ++w) {
    bool inverted;
    long at = FileOffsetOf(w, &inverted);
    unsigned value = file[at] | (file[at + 1] << 8);
    *WordOf(state, w) = static_cast<std::uint16_t>(inverted ? value == 0 : value);
  }
  return state;
}

// Turns file into the file a store of state into it must leave.
void ModelEncode(GameStateData state, Bytes* file) {
  for (int w = 0; w < WordCount; ++w) {
    bool inverted;
    long at = FileOffsetOf(w, &inverted);
    unsigned value = *WordOf(state, w);
    if (inverted) value = value == 0;
    (*file)[at] = static_cast<unsigned char>(value & 0xFF);
    (*file)[at + 1] = static_cast<unsigned char>(value >> 8);
  }
}

// What a load of a stored state gives back: END? flags as 0 or 1.
GameStateData Normalised(GameStateData state) {
  for (int u = 0; u < 50; ++u) state.statRows[ModelEndRow][u] = state.statRows[ModelEndRow][u] != 0;
  return state;
}

// A recognisable state that no load of the base image produces.
GameStateData Sentinel() {
  GameStateData state;
  for (int w = 0; w < WordCount; ++w) *WordOf(state, w) = static_cast<std::uint16_t>(0xBEEF ^ (w * 257));
  return state;
}

bool Same(GameStateData a, GameStateData b) {
  for (int w = 0; w < WordCount; ++w)
    if (*WordOf(a, w) != *WordOf(b, w)) return false;
  return true;
}

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "savefile_fuzz: %s\n", what);
  std::abort();
}

// A valid save image with varied values and END? flags of 0, 1 and 2.
Bytes BaseImage() {
  Bytes image(ModelMinLength + 64);
  std::uint32_t x = 12345;
  for (auto& b : image) {
    x = x * 1103515245 + 12345;
    b = static_cast<unsigned char>(x >> 16);
  }
  std::memcpy(&image[0], ModelHeader, 83);
  std::memcpy(&image[96], ModelTitle, 32);
  for (int u = 0; u < 50; ++u) {
    image[278436 + 2 * u] = static_cast<unsigned char>(u % 3);
    image[278436 + 2 * u + 1] = 0;
  }
  return image;
}

std::string ScratchPath;

bool WriteFile(const Bytes& bytes) {
  std::FILE* f = std::fopen(ScratchPath.c_str(), "wb");
  if (!f) return false;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

// Whether the scratch file holds exactly these bytes.
bool FileHolds(const Bytes& bytes) {
  static Bytes read;
  read.resize(bytes.size() + 1);
  std::FILE* f = std::fopen(ScratchPath.c_str(), "rb");
  if (!f) return false;
  std::size_t n = std::fread(read.data(), 1, read.size(), f);
  std::fclose(f);
  return n == bytes.size() && (n == 0 || std::memcmp(read.data(), bytes.data(), n) == 0);
}

std::string ScratchDirectory;

void RemoveScratch() {
  std::remove(ScratchPath.c_str());
  rmdir(ScratchDirectory.c_str());
}

// The file the input describes, and the edits it asks for. The buffers are
// kept from one input to the next: fresh ones of this size each time would
// cost more than the rest of the run.
void MapInput(const std::uint8_t* data, std::size_t size, Bytes* file, std::vector<std::uint16_t>* edits) {
  if (size == 0 || (data[0] & 1) == 0) {
    file->assign(data + (size ? 1 : 0), data + size);
    return;
  }
  static const Bytes base = BaseImage();
  std::size_t at = 1;
  auto next = [&]() -> unsigned { return at < size ? data[at++] : 0; };
  unsigned lengthField = next();
  lengthField |= next() << 8;
  std::size_t length = (data[0] & 2) ? lengthField : ModelMinLength + static_cast<std::int16_t>(lengthField);
  file->assign(length, 0);
  if (length > 0) std::memcpy(file->data(), base.data(), std::min(length, base.size()));
  unsigned editCount = next() % 16;
  for (unsigned e = 0; e < editCount; ++e) {
    unsigned word = next();
    word |= next() << 8;
    unsigned value = next();
    value |= next() << 8;
    edits->push_back(static_cast<std::uint16_t>(word % WordCount));
    edits->push_back(static_cast<std::uint16_t>(value));
  }
  while (!file->empty() && at + 4 <= size) {
    std::size_t offset = data[at] | (data[at + 1] << 8) | (data[at + 2] << 16);
    std::size_t count = data[at + 3];
    at += 4;
    for (std::size_t i = 0; i < count && at < size; ++i) (*file)[(offset + i) % file->size()] = data[at++];
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/savefile_fuzz.XXXXXX";
  std::vector<char> dir(pattern.begin(), pattern.end());
  dir.push_back('\0');
  Check(mkdtemp(dir.data()) != nullptr, "cannot make a scratch directory");
  ScratchDirectory = dir.data();
  ScratchPath = ScratchDirectory + "/save.asd";
  std::atexit(RemoveScratch);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Bytes file, stored;
  std::vector<std::uint16_t> edits;
  MapInput(data, size, &file, &edits);
  Check(WriteFile(file), "cannot write the scratch file");

  const GameStateData sentinel = Sentinel();
  GameState = sentinel;
  int expected = ModelResult(file);
  int result = LoadSaveFile(ScratchPath.c_str());
  Check(result == expected, "load gives another result than the model");
  if (result != 0) {
    Check(Same(GameState, sentinel), "a refused load changed GameState");
    Check(StoreSaveFile(ScratchPath.c_str()) == result, "a store into a refused file is not refused alike");
    Check(FileHolds(file), "a refused store changed the file");
    Check(Same(GameState, sentinel), "a refused store changed GameState");
    return 0;
  }
  Check(Same(GameState, ModelDecode(file)), "load gives other values than the model");

  for (std::size_t e = 0; e < edits.size(); e += 2) *WordOf(GameState, edits[e]) = edits[e + 1];
  const GameStateData edited = GameState;
  Check(StoreSaveFile(ScratchPath.c_str()) == 0, "store into an accepted file failed");
  Check(Same(GameState, edited), "store changed GameState");
  stored = file;
  ModelEncode(edited, &stored);
  Check(FileHolds(stored), "store wrote other bytes than the model");

  GameState = sentinel;
  Check(LoadSaveFile(ScratchPath.c_str()) == 0, "a stored file is refused");
  Check(Same(GameState, Normalised(edited)), "a stored file loads other values");
  return 0;
}
