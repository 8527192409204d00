// The game's save file (*.asd) and the block of values the editor works on.
#ifndef ASDEDIT_CORE_SAVEFILE_H
#define ASDEDIT_CORE_SAVEFILE_H

#include <cstdint>
#include <cstdio>
#include <type_traits>

const int UnitCount = 50;
const int CounterCount = 54;  // 42 item counters, then 12 monster counters
const int ItemCounterCount = 42;
const int SmallValueCount = 3;

// The rows of statRows and of FieldTable: the sixteen statistics of a unit.
enum StatRowIndex {
  LevelRow,
  MovementRow,
  ExperienceRow,
  RangeRow,
  HitPointsRow,
  MaxHitPointsRow,
  AttackRow,
  DefenceRow,
  MagicRow,
  MagicResistanceRow,
  AccuracyRow,
  EvasionRow,
  XRow,
  YRow,
  ChargeRow,
  EndFlagRow,  // END?, stored inverted in the file
  StatCount
};

// One statistic of every unit, indexed by unit number.
typedef std::uint16_t StatRow[UnitCount];

// Every editable value of a save file. The bound controls keep pointers into
// the one instance, GameState, which therefore never moves.
struct GameStateData {
  std::uint16_t smallValues[SmallValueCount];
  std::uint16_t turnCount;
  std::uint16_t counters[CounterCount];
  StatRow statRows[StatCount];
};

extern GameStateData GameState;

// What a value is: a number, or a flag (END?: 1 ticked, 0 not, stored
// inverted in the file).
enum ValueKind { NumberValue, FlagValue };

// One value of the game, or a run of them in the file: the three small
// values, the item counters, the monster counters, or one statistic of every
// unit. The labels are the editor's texts (editor/texts.h).
struct GameValue {
  const char* key;      // the name of the value in asdtool's document
  std::int32_t offset;  // where its first word lies in the save file
  int count;            // how many words follow one another from there
  std::uint16_t low;    // the range the editor holds it to
  std::uint16_t high;
  ValueKind kind;
  std::uint16_t* (*words)(GameStateData* block);  // its first word in a block
};

// The words of a member of a block from an index on: a word, a run of words,
// or a row of statRows.
inline std::uint16_t* WordsFrom(std::uint16_t& word, int) { return &word; }
inline std::uint16_t* WordsFrom(std::uint16_t* words, int first) { return words + first; }
inline std::uint16_t* WordsFrom(StatRow* rows, int row) { return rows[row]; }
// How many words a member of type Member holds from index first on.
template <typename Member>
constexpr int WordsIn(int first) {
  if constexpr (std::is_array_v<Member>)
    return (static_cast<int>(std::extent_v<Member>) - first) *
           WordsIn<std::remove_extent_t<Member>>(0);
  else
    return 1 - first;
}

// The rows of GameValues, in the order of values.inc.
enum GameValueRow {
#define GAME_VALUE(name, member, first, key, label, offset, count, low, high, kind) name,
#define STAT_VALUE(name, row, key, label, offset, low, high, kind) name,
#include "values.inc"
#undef GAME_VALUE
#undef STAT_VALUE
  GameValueCount
};
inline constexpr GameValue GameValues[GameValueCount] = {
#define GAME_VALUE(name, member, first, key, label, offset, count, low, high, kind) \
  {key, offset, count, low, high, kind, [](GameStateData* block) {                  \
     return WordsFrom(block->member, first);                                        \
   }},
#define STAT_VALUE(name, row, key, label, offset, low, high, kind)     \
  {key, offset, UnitCount, low, high, kind, [](GameStateData* block) { \
     return WordsFrom(block->statRows, row);                           \
   }},
#include "values.inc"
#undef GAME_VALUE
#undef STAT_VALUE
};

// The row of GameValues of the statistic in statRows row.
constexpr int StatValue(int row) { return LevelValue + row; }
static_assert(GameValueCount - LevelValue == StatCount, "a row for every statistic");
// Every value fits the member it lies in, from its index on.
#define GAME_VALUE(name, member, first, key, label, offset, count, low, high, kind)         \
  static_assert((first) >= 0 && (count) <= WordsIn<decltype(GameStateData::member)>(first), \
                #name " fits its member");
#define STAT_VALUE(name, row, key, label, offset, low, high, kind)                          \
  static_assert((name) == StatValue(row), "the statistics in the order of statRows");       \
  static_assert((row) >= 0 && UnitCount <= WordsIn<decltype(GameStateData::statRows)>(row), \
                #name " fits statRows");
#include "values.inc"
#undef GAME_VALUE
#undef STAT_VALUE

// The words of block that the GameValues row holds, the first of them.
std::uint16_t* ValueWords(GameStateData* block, int row);
const std::uint16_t* ValueWords(const GameStateData* block, int row);

const int SaveHeaderLength = 83;
const int SaveTitleLength = 32;
extern const char SaveHeaderText[SaveHeaderLength + 1];
extern const char SaveTitleText[SaveTitleLength + 1];

// A file holds every value region when it reaches this length: the end of
// the region that ends last.
constexpr long EndOfValues() {
  long end = 0;
  for (const GameValue& value : GameValues)
    if (value.offset + 2L * value.count > end) end = value.offset + 2L * value.count;
  return end;
}
const long SaveFileMinLength = EndOfValues();

// Results of LoadSaveFile and the stores; 0 is success.
enum SaveFileResult {
  OpenFailed = -1,      // cannot be opened (for a store: for reading and writing)
  HeaderMismatch = -2,  // header or title record differs
  FileTooShort = -3,    // the records match but the file ends before the last region
  SeekFailed = -4,      // store: a seek failed part-way
  WriteFailed = -5,     // store: a write failed part-way
  CloseFailed = -6,     // store: flushing or closing the file failed
  ChangedOutside = -7,  // store if unchanged: a value differs from the one last read or written
  BackupFailed = -8     // store: no backup of the file could be made (BackupError says why)
};

// What a store writes: every value, every value unless the file changed,
// or the edited values over the file's words of the moment (the three
// stores below).
enum StoreMode { EveryValue, UnlessChanged, EditedValues };

// Whether a store first makes a backup of the file (core/backup.h), and
// whether that backup is the first after the editor opened the file.
enum BackupMode { WithoutBackup, WithBackup, WithOpenedBackup };

// Paths are UTF-8 text and name any file the platform can name.

// Besides GameState, the save-file code keeps two blocks: the file's last
// known words, those the last load read or the last store wrote; and the
// reference, the values the player has not edited. A value of GameState
// that differs from its reference is the player's edit.

// Reads the file at path into GameState. On any failure GameState is left
// exactly as it was; a folder, or a file that cannot be read, cannot be opened.
// The words read are kept as the file's last known values, the values as the
// reference.
int LoadSaveFile(const char* path);

// Writes every value region of GameState into the existing file at path, in
// place, and puts it on the disk. A file that is not (or no longer) a
// complete save file is refused before a byte is written. GameState is never
// changed. The words written become the file's last known values and
// GameState the reference; a failed store leaves both as they were.
int StoreSaveFile(const char* path);

// The same, unless a word of a value region in the file differs from its last
// known value, the one the last load read or the last store wrote: another
// program has changed it since. Then nothing is written (ChangedOutside).
// Bytes outside the value regions are never written, and do not count.
int StoreSaveFileIfUnchanged(const char* path);

// Writes every value region of GameState into file, open for writing and
// seeking, which is becoming a complete save file (a new one, its records
// already written): 0, SeekFailed or WriteFailed. Neither GameState nor the
// known words and the reference change.
int WriteSaveValues(std::FILE* file);

// Writes only the player's edits into the file at path and keeps every other
// word as the file holds it, read in the same open just before the write.
// On success the file's new values become GameState and the reference, and
// its words the known ones; a failure changes none of them.
int StoreEditedValues(const char* path);

// The store of mode, after a backup of the file when backup asks for one:
// the file is read whole through the same open as the write, after every
// check, and its backup is on the disk before the first byte is written.
// When none can be made, nothing is written (BackupFailed).
int StoreValues(const char* path, StoreMode mode, BackupMode backup);

// Makes a backup of the file at path before it is replaced whole, when it is
// a save file (its records are the game's, cut short or not): 0, or
// HeaderMismatch (no save file: no backup), OpenFailed or BackupFailed.
int BackUpSaveFile(const char* path);

// Why the last store or backup that failed with BackupFailed made no backup: the
// system's error code (core/backup.h).
unsigned long BackupError();

// After the editor has shown GameState, which was before: each value that the
// showing changed (held to its field's range) is no edit, and becomes its
// reference too.
void KeepShownValuesUnedited(const GameStateData& before);

#endif
