// The save file: what a load reads, what a store writes, what both refuse.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "core/savefile.h"
#include "support/model.h"

namespace {
// A path of characters that no single code page writes.
std::string SavePath() { return ScratchDir() + u8"Téléchargements/세이브 데이터/表ソ 能😀.asd"; }
}  // namespace

TEST(SaveFile, LoadsEveryValueAndStoresOnlyTheValuesUnlessAnotherProgramChangedOne) {
  std::string path = SavePath();
  // The records pinned byte for byte: the Shift-JIS title comes out right.
  Bytes bytes = SyntheticSave(1);
  EXPECT_EQ(0, std::memcmp(&bytes[0], SaveHeaderText, 83));
  EXPECT_EQ(0, std::memcmp(&bytes[96], SaveTitleText, 32));
  ASSERT_TRUE(WriteBytes(path, bytes));
  ASSERT_EQ(0, LoadSaveFile(path.c_str()));
  EXPECT_TRUE(StateOf(bytes) == GameState);  // END? inverted: 0 in the file is ticked
  // Every byte kept but END? values other than 0 and 1, which the file held as they were read.
  ASSERT_EQ(0, StoreSaveFileIfUnchanged(path.c_str()));
  EXPECT_EQ(Stored(bytes, StateOf(bytes)), ReadBytes(path));

  GameState = StateOf(SyntheticSave(2));  // the program's own changes count for nothing
  const GameStateData held = GameState;
  ASSERT_EQ(0, StoreSaveFileIfUnchanged(path.c_str()));
  bytes = Stored(bytes, held);
  bytes[300] ^= 1;  // another program's change outside every value region
  ASSERT_TRUE(WriteBytes(path, bytes));
  ASSERT_EQ(0, StoreSaveFileIfUnchanged(path.c_str()));
  EXPECT_EQ(bytes, ReadBytes(path));
  EXPECT_TRUE(held == GameState);
  const long last = StatOffset(ChargeRow, UnitCount - 1);  // the last value of all
  PutWord(bytes, last, WordAt(bytes, last) ^ 0x100);
  ASSERT_TRUE(WriteBytes(path, bytes));
  EXPECT_EQ(ChangedOutside, StoreSaveFileIfUnchanged(path.c_str()));
  EXPECT_EQ(bytes, ReadBytes(path));
  ASSERT_EQ(0, StoreSaveFile(path.c_str()));
  EXPECT_EQ(0, StoreSaveFileIfUnchanged(path.c_str()));

  // Only the edits go over another program's words, which become the values, an END? word
  // that the editor never writes among them; a value held to its range when shown is no edit.
  bytes = ReadBytes(path);
  PutWord(bytes, 364, 1234);
  PutWord(bytes, StatOffset(EndFlagRow, 3), 5);
  ASSERT_TRUE(WriteBytes(path, bytes));
  const GameStateData shown = GameState;
  ++GameState.statRows[LevelRow][7];
  KeepShownValuesUnedited(shown);
  GameState.counters[5] ^= 1;
  PutWord(bytes, CounterOffset(5), GameState.counters[5]);
  ASSERT_EQ(0, StoreEditedValues(path.c_str()));
  EXPECT_EQ(bytes, ReadBytes(path));
  EXPECT_TRUE(StateOf(bytes) == GameState);
  PutWord(bytes, 364, 4321);  // the values taken from the file are no edits either
  ASSERT_TRUE(WriteBytes(path, bytes));
  ASSERT_EQ(0, StoreEditedValues(path.c_str()));
  EXPECT_EQ(bytes, ReadBytes(path));

  // A file gone is not made again, and a folder is no file to open: the values stay. The fuzz
  // target's seed corpus holds the foreign and short files, refused alike.
  const GameStateData kept = GameState;
  for (const std::string& refused : {path + "x", path.substr(0, path.rfind('/'))}) {
    EXPECT_EQ(OpenFailed, LoadSaveFile(refused.c_str())) << refused;
    EXPECT_EQ(OpenFailed, StoreSaveFile(refused.c_str())) << refused;
  }
  EXPECT_TRUE(kept == GameState);
  EXPECT_TRUE(ReadBytes(path + "x").empty());
}

#ifdef __linux__
// Reads and writes that fail part-way, one at a time (the native build wraps
// the C library's at link time): each is reported and the values stay.
namespace {
int Calls = 0;
int FailAt = -1;
}  // namespace
// The names are the linker's own for a wrapped function.
// NOLINTBEGIN(bugprone-reserved-identifier)
extern "C" {
std::size_t __real_fread(void*, std::size_t, std::size_t, std::FILE*);
std::size_t __real_fwrite(const void*, std::size_t, std::size_t, std::FILE*);
std::size_t __wrap_fread(void* b, std::size_t s, std::size_t n, std::FILE* f) {
  return __real_fread(b, s, Calls++ == FailAt ? n / 2 : n, f);
}
std::size_t __wrap_fwrite(const void* b, std::size_t s, std::size_t n, std::FILE* f) {
  return Calls++ == FailAt ? 0 : __real_fwrite(b, s, n, f);
}
}
// NOLINTEND(bugprone-reserved-identifier)

TEST(SaveFile, ReadsAndWritesThatFailPartWayAreReported) {
  std::string path = ScratchDir() + "s1.asd";
  ASSERT_TRUE(WriteBytes(path, SyntheticSave(5)));
  const GameStateData held = StateOf(SyntheticSave(6));
  int calls = 0;
  for (int (*operation)(const char*) : {LoadSaveFile, StoreEditedValues, StoreSaveFile}) {
    GameState = held;
    Calls = 0;
    ASSERT_EQ(0, operation(path.c_str()));
    calls = Calls;
    for (int k = 0; k < calls; ++k) {
      GameState = held;
      Calls = 0;
      FailAt = k;
      EXPECT_LT(operation(path.c_str()), 0) << k;
      FailAt = -1;
      EXPECT_TRUE(held == GameState) << k;
    }
  }
  // A store that failed at its last write leaves the words last written as the file's.
  const Bytes stored = ReadBytes(path);
  GameState = StateOf(SyntheticSave(7));
  Calls = 0;
  FailAt = calls - 1;
  EXPECT_LT(StoreSaveFile(path.c_str()), 0);
  FailAt = -1;
  ASSERT_TRUE(WriteBytes(path, stored));
  EXPECT_EQ(0, StoreSaveFileIfUnchanged(path.c_str()));
}
#endif
