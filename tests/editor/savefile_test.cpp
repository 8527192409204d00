// The save file: recognition, load, in-place store and every refusal.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "editor/savefile.h"
#include "support/testsupport.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

typedef std::vector<unsigned char> Bytes;

const long EndRowOffset = 278436;
const long StatBase = 274836;

// A synthetic save file: random bytes everywhere but the two records.
Bytes SyntheticSave(unsigned seed, bool endFlagsZeroOrOne = false, std::size_t length = SaveFileMinLength + 1000) {
  std::mt19937 random(seed);
  Bytes bytes(length);
  for (auto& b : bytes) b = static_cast<unsigned char>(random());
  std::memcpy(&bytes[0], SaveHeaderText, SaveHeaderLength);
  std::memcpy(&bytes[96], SaveTitleText, SaveTitleLength);
  if (endFlagsZeroOrOne) {
    for (int u = 0; u < UnitCount; ++u) {
      bytes[EndRowOffset + 2 * u] = random() & 1;
      bytes[EndRowOffset + 2 * u + 1] = 0;
    }
  }
  return bytes;
}

unsigned Word(const Bytes& bytes, long offset) { return bytes[offset] | (bytes[offset + 1] << 8); }

// Every byte offset the editor may write.
std::vector<bool> RegionMask(std::size_t length) {
  std::vector<bool> mask(length, false);
  auto mark = [&](long offset, long count) {
    for (long i = 0; i < count; ++i) mask[offset + i] = true;
  };
  mark(364, 2);
  mark(532, 6);
  mark(916, 24);
  mark(1070, 84);
  for (const FieldRow& row : FieldTable) mark(row.offset, 100);
  return mask;
}

GameStateData RandomState(unsigned seed) {
  std::mt19937 random(seed);
  GameStateData state;
  std::uint16_t* words = reinterpret_cast<std::uint16_t*>(&state);
  for (std::size_t i = 0; i < sizeof state / 2; ++i) words[i] = static_cast<std::uint16_t>(random());
  return state;
}

bool SameState(const GameStateData& a, const GameStateData& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class SaveFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    dir = ScratchDir();
    path = dir + "save.asd";
    GameState = GameStateData();
  }
  std::string dir, path;
};

}  // namespace

TEST(SaveRecords, ExactBytes) {
  ASSERT_EQ(83u, std::strlen(SaveHeaderText));
  EXPECT_EQ(0, std::memcmp(SaveHeaderText, "This is save data for Kelvas3.5 Win95 For PLOV/RMX system", 57));
  EXPECT_EQ(0, std::memcmp(SaveHeaderText + 57, "       (C) 1996 BRANVIK-CO", 26));
  const unsigned char title[32] = {0x83, 0x82, 0x83, 0x8B, 0x83, 0x5F, 0x83, 0x93, 0x81, 0x45, 0x83,
                                   0x73, 0x83, 0x4E, 0x83, 0x5A, 0x83, 0x8A, 0x83, 0x49, 0x83, 0x93,
                                   0x20, 0x2D, 0x20, 0x4B, 0x65, 0x6C, 0x76, 0x61, 0x73, 0x20};
  ASSERT_EQ(32u, std::strlen(SaveTitleText));
  EXPECT_EQ(0, std::memcmp(SaveTitleText, title, 32));
}

TEST(SaveRecords, FieldTableLabelsAndSlots) {
  const unsigned char level[6] = {0x83, 0x8C, 0x83, 0x78, 0x83, 0x8B};  // レベル
  EXPECT_EQ(0, std::memcmp(FieldTable[0].label, level, 6));
  for (int r = 0; r < StatCount; ++r) {
    EXPECT_EQ(6u, std::strlen(FieldTable[r].label)) << r;
    long slot = (FieldTable[r].offset - StatBase) / 400;
    EXPECT_EQ(0, (FieldTable[r].offset - StatBase) % 400) << r;
    EXPECT_TRUE(slot >= 0 && slot <= 19 && slot != 2 && slot != 3 && slot != 4 && slot != 11) << r;
  }
  EXPECT_EQ(278436, FieldTable[EndFlagRow].offset);
}

TEST_F(SaveFileTest, LoadReadsEveryRegionAndInvertsEndFlags) {
  Bytes bytes = SyntheticSave(1);
  bytes[EndRowOffset + 2 * 3] = 0;  // unit 3: not ended on disk
  bytes[EndRowOffset + 2 * 3 + 1] = 0;
  ASSERT_TRUE(WriteFileBytes(path, bytes));
  ASSERT_EQ(0, LoadSaveFile(path.c_str()));

  EXPECT_EQ(Word(bytes, 364), GameState.turnCount);
  for (int j = 0; j < 3; ++j) EXPECT_EQ(Word(bytes, 532 + 2 * j), GameState.smallValues[j]);
  for (int k = 0; k < 42; ++k) EXPECT_EQ(Word(bytes, 1070 + 2 * k), GameState.counters[k]) << k;
  for (int k = 0; k < 12; ++k) EXPECT_EQ(Word(bytes, 916 + 2 * k), GameState.counters[42 + k]) << k;
  for (int r = 0; r < StatCount; ++r)
    for (int u = 0; u < UnitCount; ++u) {
      unsigned onDisk = Word(bytes, FieldTable[r].offset + 2 * u);
      unsigned expected = r == EndFlagRow ? (onDisk == 0 ? 1u : 0u) : onDisk;
      ASSERT_EQ(expected, GameState.statRows[r][u]) << "row " << r << " unit " << u;
    }
  EXPECT_EQ(1, GameState.statRows[EndFlagRow][3]);
}

TEST_F(SaveFileTest, RoundTripKeepsEveryByteButOddEndFlags) {
  Bytes before = SyntheticSave(2);
  ASSERT_TRUE(WriteFileBytes(path, before));
  ASSERT_EQ(0, LoadSaveFile(path.c_str()));
  ASSERT_EQ(0, StoreSaveFile(path.c_str()));
  Bytes after = ReadFileBytes(path);
  ASSERT_EQ(before.size(), after.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    long off = static_cast<long>(i);
    if (off >= EndRowOffset && off < EndRowOffset + 100) continue;
    ASSERT_EQ(before[i], after[i]) << "offset " << i;
  }
  for (int u = 0; u < UnitCount; ++u) {
    unsigned was = Word(before, EndRowOffset + 2 * u);
    EXPECT_EQ(was == 0 ? 0u : 1u, Word(after, EndRowOffset + 2 * u)) << u;
  }
}

TEST_F(SaveFileTest, StoreWritesOnlyTheRegions) {
  Bytes before = SyntheticSave(3);
  ASSERT_TRUE(WriteFileBytes(path, before));
  ASSERT_EQ(0, LoadSaveFile(path.c_str()));
  GameState = RandomState(4);  // every value different
  const GameStateData stored = GameState;
  ASSERT_EQ(0, StoreSaveFile(path.c_str()));
  EXPECT_TRUE(SameState(stored, GameState));

  Bytes after = ReadFileBytes(path);
  ASSERT_EQ(before.size(), after.size());
  std::vector<bool> mask = RegionMask(before.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (!mask[i]) {
      ASSERT_EQ(before[i], after[i]) << "outside the regions at " << i;
    }
  }
  // The unused slots and the tail of each used slot are outside every region.
  for (int slot : {2, 3, 4, 11})
    for (long i = 0; i < 400; ++i) ASSERT_FALSE(mask[StatBase + 400 * slot + i]);
  ASSERT_GE(before.size(), static_cast<std::size_t>(StatBase + 400 * 20));
  for (const FieldRow& row : FieldTable)
    for (long i = 100; i < 400; ++i) ASSERT_FALSE(mask[row.offset + i]);

  EXPECT_EQ(stored.turnCount, Word(after, 364));
  EXPECT_EQ(stored.counters[0], Word(after, 1070));
  EXPECT_EQ(stored.counters[42], Word(after, 916));
  EXPECT_EQ(stored.statRows[12][49], Word(after, 274836 + 98));
  for (int u = 0; u < UnitCount; ++u)
    EXPECT_EQ(stored.statRows[EndFlagRow][u] == 0 ? 1u : 0u, Word(after, EndRowOffset + 2 * u));

  // Reading the stored file back gives what was stored, END? flags as 0/1.
  GameStateData expected = stored;
  for (int u = 0; u < UnitCount; ++u) expected.statRows[EndFlagRow][u] = stored.statRows[EndFlagRow][u] ? 1 : 0;
  ASSERT_EQ(0, LoadSaveFile(path.c_str()));
  EXPECT_TRUE(SameState(expected, GameState));
}

TEST_F(SaveFileTest, TogglingOneEndFlagChangesExactlyItsTwoBytes) {
  Bytes before = SyntheticSave(5, true);
  ASSERT_TRUE(WriteFileBytes(path, before));
  ASSERT_EQ(0, LoadSaveFile(path.c_str()));
  const int unit = 17;
  GameState.statRows[EndFlagRow][unit] = GameState.statRows[EndFlagRow][unit] ? 0 : 1;
  ASSERT_EQ(0, StoreSaveFile(path.c_str()));
  Bytes after = ReadFileBytes(path);
  ASSERT_EQ(before.size(), after.size());
  std::vector<std::size_t> changed;
  for (std::size_t i = 0; i < before.size(); ++i)
    if (before[i] != after[i]) changed.push_back(i);
  ASSERT_EQ(1u, changed.size());  // the high byte stays 0
  EXPECT_EQ(static_cast<std::size_t>(EndRowOffset + 2 * unit), changed[0]);
}

TEST_F(SaveFileTest, TwoStoresInARowGiveTheSameFile) {
  ASSERT_TRUE(WriteFileBytes(path, SyntheticSave(6)));
  ASSERT_EQ(0, LoadSaveFile(path.c_str()));
  GameState.statRows[EndFlagRow][0] = 7;  // odd flag values stay as they are in memory
  const GameStateData loaded = GameState;
  ASSERT_EQ(0, StoreSaveFile(path.c_str()));
  Bytes first = ReadFileBytes(path);
  ASSERT_EQ(0, StoreSaveFile(path.c_str()));
  EXPECT_EQ(first, ReadFileBytes(path));
  EXPECT_TRUE(SameState(loaded, GameState));
}

TEST_F(SaveFileTest, BytesAfterTheRecordsAreNotExamined) {
  Bytes bytes = SyntheticSave(7);
  bytes[83] = 'X';
  bytes[128] = 0;
  ASSERT_TRUE(WriteFileBytes(path, bytes));
  EXPECT_EQ(0, LoadSaveFile(path.c_str()));
}

TEST_F(SaveFileTest, ForeignRecordsAreRefusedAndStateKept) {
  GameState = RandomState(8);
  const GameStateData kept = GameState;
  struct Case {
    const char* what;
    Bytes bytes;
  };
  std::vector<Case> cases;
  Bytes lower = SyntheticSave(9);
  lower[0] = 't';
  cases.push_back({"header letter case", lower});
  Bytes blanks = SyntheticSave(9);
  std::memcpy(&blanks[57], "      (C) 1996 BRANVIK-CO ", 26);  // one blank fewer before (C)
  cases.push_back({"header blanks", blanks});
  Bytes title = SyntheticSave(9);
  title[96 + 31] = '.';
  cases.push_back({"title", title});
  Bytes nul = SyntheticSave(9);
  nul[40] = 0;
  cases.push_back({"NUL inside the header", nul});
  cases.push_back({"82 bytes", Bytes(SaveHeaderText, SaveHeaderText + 82)});
  cases.push_back({"empty", Bytes()});
  Bytes headerOnly(SaveHeaderText, SaveHeaderText + 83);
  cases.push_back({"no title", headerOnly});
  for (const Case& c : cases) {
    ASSERT_TRUE(WriteFileBytes(path, c.bytes));
    EXPECT_EQ(HeaderMismatch, LoadSaveFile(path.c_str())) << c.what;
    EXPECT_TRUE(SameState(kept, GameState)) << c.what;
    EXPECT_EQ(HeaderMismatch, StoreSaveFile(path.c_str())) << c.what;
    EXPECT_EQ(c.bytes, ReadFileBytes(path)) << c.what;
  }
}

TEST_F(SaveFileTest, ShortFileIsRefusedAndNeverGrown) {
  GameState = RandomState(10);
  const GameStateData kept = GameState;
  // Ends after the counters; ends one byte before the last region's end.
  for (std::size_t length : {std::size_t(2000), std::size_t(SaveFileMinLength - 1)}) {
    Bytes bytes = SyntheticSave(11, false, length);
    ASSERT_TRUE(WriteFileBytes(path, bytes));
    EXPECT_EQ(FileTooShort, LoadSaveFile(path.c_str())) << length;
    EXPECT_TRUE(SameState(kept, GameState)) << length;
    EXPECT_EQ(FileTooShort, StoreSaveFile(path.c_str())) << length;
    EXPECT_EQ(bytes, ReadFileBytes(path)) << length;
  }
  Bytes exact = SyntheticSave(12, false, SaveFileMinLength);
  ASSERT_TRUE(WriteFileBytes(path, exact));
  EXPECT_EQ(0, LoadSaveFile(path.c_str()));
  EXPECT_EQ(0, StoreSaveFile(path.c_str()));
  EXPECT_EQ(exact.size(), ReadFileBytes(path).size());
}

TEST_F(SaveFileTest, MissingFileOrDirectoryGivesOpenFailed) {
  GameState = RandomState(13);
  const GameStateData kept = GameState;
  std::string missing = dir + "missing.asd";
  EXPECT_EQ(OpenFailed, LoadSaveFile(missing.c_str()));
  EXPECT_EQ(OpenFailed, StoreSaveFile(missing.c_str()));
  EXPECT_FALSE(FileExists(missing));  // a store never creates a file
  EXPECT_TRUE(SameState(kept, GameState));
  EXPECT_GT(0, LoadSaveFile(dir.c_str()));
  EXPECT_GT(0, StoreSaveFile(dir.c_str()));
}

#ifdef _WIN32
TEST_F(SaveFileTest, FileHeldOpenForReadingLoadsButDoesNotStore) {
  Bytes bytes = SyntheticSave(14);
  ASSERT_TRUE(WriteFileBytes(path, bytes));
  HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, reader);
  EXPECT_EQ(0, LoadSaveFile(path.c_str()));
  GameState.turnCount ^= 0xFFFF;
  EXPECT_EQ(OpenFailed, StoreSaveFile(path.c_str()));
  CloseHandle(reader);
  EXPECT_EQ(bytes, ReadFileBytes(path));
}
#else
// A store that fails part-way is reported: writes beyond a file-size limit
// fail for every user, root included.
TEST_F(SaveFileTest, WriteFailurePartWayIsReported) {
  Bytes bytes = SyntheticSave(15);
  ASSERT_TRUE(WriteFileBytes(path, bytes));
  ASSERT_EQ(0, LoadSaveFile(path.c_str()));
  GameState = RandomState(16);

  void (*previous)(int) = std::signal(SIGXFSZ, SIG_IGN);
  rlimit old;
  ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &old));
  rlimit small = old;
  small.rlim_cur = 2000;  // the counters fit below it, the statistic rows do not
  ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &small));
  int result = StoreSaveFile(path.c_str());
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);

  EXPECT_TRUE(result == SeekFailed || result == WriteFailed || result == CloseFailed) << result;
  EXPECT_EQ(bytes.size(), ReadFileBytes(path).size());
}
#endif
