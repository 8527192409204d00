// Reading and writing the value regions of a save file, in place.
#include "savefile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "backup.h"
#include "stream.h"

GameStateData GameState;

namespace {
// The words of every value region as the last load read them or the last
// store wrote them, END? flags as stored (not inverted).
GameStateData KnownWords;
// The values the player has not edited: those last read or written, and
// those the editor held to their range when it showed them. A value of
// GameState that differs from its reference is an edit.
GameStateData Reference;
// Why the last store made no backup.
unsigned long LastBackupError;
}  // namespace

const char SaveHeaderText[SaveHeaderLength + 1] =
    "This is save data for Kelvas3.5 Win95 For PLOV/RMX system       (C) 1996 BRANVIK-CO";
const char SaveTitleText[SaveTitleLength + 1] = "モルダン・ピクセリオン - Kelvas ";

namespace {

const long HeaderOffset = 0;
const long TitleOffset = 96;

// One value region: where it lies in the file and where it lies in a block.
struct Region {
  long offset;
  std::uint16_t* values;
  std::size_t count;
  bool inverted;  // stored as the logical NOT of the values (the END? flags)
};

// The regions of block, one for each row of GameValues.
int BlockRegions(GameStateData* block, Region* regions) {
  for (int row = 0; row < GameValueCount; ++row) {
    const GameValue& value = GameValues[row];
    regions[row] = {value.offset, ValueWords(block, row), static_cast<std::size_t>(value.count),
                    value.kind == FlagValue};
  }
  return GameValueCount;
}
const int RegionCount = GameValueCount;

// Reads count bytes at offset into buffer; false on a seek failure or a short read.
bool ReadAt(std::FILE* file, long offset, void* buffer, std::size_t count) {
  return std::fseek(file, offset, SEEK_SET) == 0 && std::fread(buffer, 1, count, file) == count;
}

// Checks the header and title records of an open file: 0, HeaderMismatch,
// or OpenFailed when it cannot be read at all (a folder opens on some
// platforms). A file too short to hold a record does not match it.
int CheckRecords(std::FILE* file) {
  char scratch[SaveHeaderLength + 1];
  bool header = ReadAt(file, HeaderOffset, scratch, SaveHeaderLength) &&
                std::memcmp(scratch, SaveHeaderText, SaveHeaderLength) == 0;
  if (std::ferror(file)) return OpenFailed;
  if (!header) return HeaderMismatch;
  if (!ReadAt(file, TitleOffset, scratch, SaveTitleLength) ||
      std::memcmp(scratch, SaveTitleText, SaveTitleLength) != 0)
    return HeaderMismatch;
  return 0;
}

// Whether an open file reaches to the end of the last value region.
bool HoldsEveryRegion(std::FILE* file) {
  return std::fseek(file, 0, SEEK_END) == 0 && std::ftell(file) >= SaveFileMinLength;
}

// Opens path with mode as a complete save file: the stream, or null with
// *result saying why it was refused.
std::FILE* OpenSaveFile(const char* path, const char* mode, int* result) {
  std::FILE* file = OpenStream(path, mode);
  if (!file) {
    *result = OpenFailed;
    return nullptr;
  }
  *result = CheckRecords(file);
  if (*result == 0 && !HoldsEveryRegion(file)) *result = FileTooShort;
  if (*result == 0) return file;
  (void)std::fclose(file);  // a refused file was only read
  return nullptr;
}

// The END? flags are kept as "ticked" in memory and as "not ticked" on disk.
std::uint16_t InvertFlag(std::uint16_t value) { return value == 0 ? 1 : 0; }

// Raw 16-bit words are stored little-endian.
void DecodeWords(const unsigned char* bytes, std::uint16_t* values, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i)
    values[i] = static_cast<std::uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
}
void EncodeWords(const std::uint16_t* values, std::size_t count, unsigned char* bytes) {
  for (std::size_t i = 0; i < count; ++i) {
    bytes[2 * i] = static_cast<unsigned char>(values[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<unsigned char>(values[i] >> 8);
  }
}

// Reads the words of every region of a block into it; false on a short read.
bool ReadRegions(std::FILE* file, const Region* regions) {
  unsigned char bytes[2 * UnitCount];
  for (int i = 0; i < RegionCount; ++i) {
    if (!ReadAt(file, regions[i].offset, bytes, 2 * regions[i].count)) return false;
    DecodeWords(bytes, regions[i].values, regions[i].count);
  }
  return true;
}

// The words a store writes into one region of GameState, over words (the
// file's, for EditedValues), and the values the region then holds.
void MergeWords(StoreMode mode, const Region& region, const std::uint16_t* reference,
                std::uint16_t* words, std::uint16_t* values) {
  for (std::size_t k = 0; k < region.count; ++k) {
    std::uint16_t value = region.values[k];
    if (mode == EditedValues && value == reference[k])
      values[k] = region.inverted ? InvertFlag(words[k]) : words[k];
    else
      words[k] = region.inverted ? InvertFlag(value) : value;
  }
}

// Writes GameState's regions into the save file at path, as mode says, once
// the checks have passed and the backup asked for is made, and puts them on
// the disk. On success the words written become the known ones and the
// values the file now holds (GameState's, and for EditedValues the file's
// other values) become GameState and the reference.
int Store(const char* path, StoreMode mode, BackupMode backup) {
  // The file may have been replaced or cut short since it was opened:
  // nothing is written unless it is still a complete save file.
  int result = 0;
  std::FILE* file = OpenSaveFile(path, "r+b", &result);
  if (!file) return result;

  GameStateData written = KnownWords;  // the file's words, then those written
  Region writtenRegions[RegionCount];
  BlockRegions(&written, writtenRegions);
  if (mode != EveryValue && !ReadRegions(file, writtenRegions))
    result = FileTooShort;
  else if (mode == UnlessChanged && std::memcmp(&written, &KnownWords, sizeof written) != 0)
    result = ChangedOutside;
  if (result == 0 && backup != WithoutBackup) {
    LastBackupError = BackUp(path, file, backup == WithOpenedBackup);
    if (LastBackupError != 0) result = BackupFailed;
  }
  GameStateData values = GameState;
  Region regions[RegionCount];
  Region referenceRegions[RegionCount];
  Region valueRegions[RegionCount];
  BlockRegions(&GameState, regions);
  BlockRegions(&Reference, referenceRegions);
  BlockRegions(&values, valueRegions);
  unsigned char bytes[2 * UnitCount];
  for (int i = 0; result == 0 && i < RegionCount; ++i) {
    const Region& region = regions[i];
    std::uint16_t* words = writtenRegions[i].values;
    MergeWords(mode, region, referenceRegions[i].values, words, valueRegions[i].values);
    EncodeWords(words, region.count, bytes);
    // A seek also flushes what was buffered (or ends the reading above), so
    // a failed write of the previous region can surface here.
    if (std::fseek(file, region.offset, SEEK_SET) != 0)
      result = SeekFailed;
    else if (std::fwrite(bytes, 1, 2 * region.count, file) != 2 * region.count)
      result = WriteFailed;
  }
  if (result == 0 && SyncStream(file) != 0) result = WriteFailed;
  if (std::fclose(file) != 0 && result == 0) result = CloseFailed;
  if (result != 0) return result;
  KnownWords = written;
  GameState = values;
  Reference = values;
  return 0;
}

}  // namespace

std::uint16_t* ValueWords(GameStateData* block, int row) { return GameValues[row].words(block); }

const std::uint16_t* ValueWords(const GameStateData* block, int row) {
  return ValueWords(const_cast<GameStateData*>(block), row);  // only to read
}

int LoadSaveFile(const char* path) {
  int result = 0;
  std::FILE* file = OpenSaveFile(path, "rb", &result);
  if (!file) return result;

  // Everything is read into scratch blocks, which replace GameState and the
  // known words only when the whole file has been read.
  GameStateData scratch = GameState;
  GameStateData words = KnownWords;
  Region regions[RegionCount];
  Region wordRegions[RegionCount];
  BlockRegions(&scratch, regions);
  BlockRegions(&words, wordRegions);
  if (!ReadRegions(file, wordRegions)) result = FileTooShort;
  for (int i = 0; result == 0 && i < RegionCount; ++i)
    for (std::size_t k = 0; k < regions[i].count; ++k) {
      std::uint16_t word = wordRegions[i].values[k];
      regions[i].values[k] = regions[i].inverted ? InvertFlag(word) : word;
    }
  (void)std::fclose(file);  // only read: nothing is lost if closing fails
  if (result != 0) return result;
  GameState = scratch;
  Reference = scratch;
  KnownWords = words;
  return 0;
}

int StoreSaveFile(const char* path) { return Store(path, EveryValue, WithoutBackup); }

int StoreSaveFileIfUnchanged(const char* path) { return Store(path, UnlessChanged, WithoutBackup); }

int StoreEditedValues(const char* path) { return Store(path, EditedValues, WithoutBackup); }

int StoreValues(const char* path, StoreMode mode, BackupMode backup) {
  return Store(path, mode, backup);
}

int BackUpSaveFile(const char* path) {
  std::FILE* file = OpenStream(path, "rb");
  if (!file) return OpenFailed;
  int result = CheckRecords(file);
  if (result == 0) LastBackupError = BackUp(path, file, false);
  if (result == 0 && LastBackupError != 0) result = BackupFailed;
  (void)std::fclose(file);  // only read
  return result;
}

unsigned long BackupError() { return LastBackupError; }

int WriteSaveValues(std::FILE* file) {
  Region regions[RegionCount];
  BlockRegions(&GameState, regions);
  std::uint16_t words[UnitCount];
  unsigned char bytes[2 * UnitCount];
  for (const Region& region : regions) {
    for (std::size_t k = 0; k < region.count; ++k)
      words[k] = region.inverted ? InvertFlag(region.values[k]) : region.values[k];
    EncodeWords(words, region.count, bytes);
    if (std::fseek(file, region.offset, SEEK_SET) != 0) return SeekFailed;
    if (std::fwrite(bytes, 1, 2 * region.count, file) != 2 * region.count) return WriteFailed;
  }
  return 0;
}

void KeepShownValuesUnedited(const GameStateData& before) {
  for (int row = 0; row < GameValueCount; ++row) {
    const std::uint16_t* shown = ValueWords(&GameState, row);
    const std::uint16_t* was = ValueWords(&before, row);
    for (int k = 0; k < GameValues[row].count; ++k)
      if (shown[k] != was[k]) ValueWords(&Reference, row)[k] = shown[k];
  }
}
