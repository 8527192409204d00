#include "support/model.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>

namespace {

// "This is save data for Kelvas3.5 ... BRANVIK-CO" and "モルダン・ピクセリオン - Kelvas " in
// Shift-JIS.
const char Header[] =
    "This is save data for Kelvas3.5 Win95 For PLOV/RMX system       (C) 1996 BRANVIK-CO";
const char Title[] =
    "\x83\x82\x83\x8B\x83\x5F\x83\x93\x81\x45\x83\x73\x83\x4E\x83\x5A\x83\x8A\x83\x49\x83\x93 - "
    "Kelvas ";
// The 400-byte slot after offset 274836 of each statRows row.
const int RowSlot[StatCount] = {5, 10, 6, 16, 7, 8, 12, 13, 14, 15, 17, 18, 0, 1, 19, 9};

// Every word of a state with its offset in the file.
template <typename Visit>
void ForEachWord(GameStateData& state, Visit visit) {
  visit(364, state.turnCount);
  for (int j = 0; j < SmallValueCount; ++j) visit(532 + 2 * j, state.smallValues[j]);
  for (int k = 0; k < CounterCount; ++k) visit(CounterOffset(k), state.counters[k]);
  for (int r = 0; r < StatCount; ++r)
    for (int u = 0; u < UnitCount; ++u) visit(StatOffset(r, u), state.statRows[r][u]);
}

}  // namespace

Bytes SyntheticSave(unsigned seed, bool tidy) {
  std::mt19937 random(seed);
  Bytes bytes(ModelLength + 64);
  for (unsigned char& b : bytes) b = static_cast<unsigned char>(random());
  std::memcpy(&bytes[0], Header, 83);
  std::memcpy(&bytes[96], Title, 32);
  for (int u = 0; tidy && u < UnitCount; ++u)
    PutWord(bytes, StatOffset(EndFlagRow, u), random() & 1);
  return bytes;
}

std::uint16_t WordAt(const Bytes& bytes, long at) {
  return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}
void PutWord(Bytes& bytes, long at, std::uint16_t value) {
  bytes[at] = static_cast<unsigned char>(value);
  bytes[at + 1] = static_cast<unsigned char>(value >> 8);
}
long CounterOffset(int k) {
  return k < ItemCounterCount ? 1070 + 2 * k : 916 + 2 * (k - ItemCounterCount);
}
long StatOffset(int row, int unit) { return 274836 + 400 * RowSlot[row] + 2 * unit; }

GameStateData StateOf(const Bytes& bytes) {
  GameStateData state = {};
  ForEachWord(state, [&](long at, std::uint16_t& word) { word = WordAt(bytes, at); });
  for (std::uint16_t& flag : state.statRows[EndFlagRow]) flag = !flag;
  return state;
}

Bytes Stored(Bytes bytes, const GameStateData& state) {
  GameStateData copy = state;
  for (std::uint16_t& flag : copy.statRows[EndFlagRow]) flag = !flag;
  ForEachWord(copy, [&](long at, std::uint16_t& word) { PutWord(bytes, at, word); });
  return bytes;
}

bool operator==(const GameStateData& a, const GameStateData& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

void ShowUnit(GameStateData& state, int unit) {
  state.statRows[LevelRow][unit] = std::max<std::uint16_t>(state.statRows[LevelRow][unit], 1);
  state.statRows[XRow][unit] = std::min<std::uint16_t>(state.statRows[XRow][unit], 9);
  state.statRows[YRow][unit] = std::min<std::uint16_t>(state.statRows[YRow][unit], 4);
}

GameStateData Opened(const Bytes& bytes) {
  GameStateData state = StateOf(bytes);
  for (std::uint16_t& v : state.smallValues) v = std::min<std::uint16_t>(v, 3);
  for (std::uint16_t& v : state.counters) v = std::min<std::uint16_t>(v, 99);
  ShowUnit(state, 0);
  return state;
}

namespace {
std::vector<std::filesystem::path> Scratch;  // the folders ScratchDir made
}  // namespace

std::string ScratchDir() {
  static unsigned serial = 0;
  // Test programs run side by side: the name tells their folders apart.
  std::string name = "asdedit-" +
                     std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) +
                     "-" + std::to_string(std::random_device()()) + "-" + std::to_string(++serial);
  std::filesystem::path dir = std::filesystem::temp_directory_path() / name;
  std::filesystem::create_directories(dir);
  Scratch.push_back(dir);
  return (dir / "").u8string();
}

void RemoveScratchDirs() {
  std::error_code ignored;  // a folder a test still holds open stays
  for (const std::filesystem::path& dir : Scratch) std::filesystem::remove_all(dir, ignored);
  Scratch.clear();
}

Bytes ReadBytes(const std::string& path) {
  std::ifstream file(std::filesystem::u8path(path), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool WriteBytes(const std::string& path, const Bytes& bytes) {
  std::filesystem::path file = std::filesystem::u8path(path);
  std::error_code ignored;  // a folder that cannot be made shows as a failed write
  std::filesystem::create_directories(file.parent_path(), ignored);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  const char* data = reinterpret_cast<const char*>(bytes.data());
  return out.write(data, static_cast<std::streamsize>(bytes.size())) && out.flush();
}

std::vector<Bytes> FolderFiles(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::u8path(folder)))
    if (entry.is_regular_file()) names.insert(entry.path().u8string());
  std::vector<Bytes> files;
  files.reserve(names.size());
  for (const std::string& name : names) files.push_back(ReadBytes(name));
  return files;
}
