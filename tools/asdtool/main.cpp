// asdtool: shows, compares and makes save files of the game from the command line.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "asd_version.h"
#include "editor/savefile.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

enum ExitCode {
  ExitOk = 0,
  ExitUsage = 1,
  ExitNoFile = 2,      // missing or cannot be opened
  ExitNotSave = 3,     // the header or title record differs
  ExitShortFile = 4,   // the records match but the file ends too soon
  ExitWriteFailed = 5  // cannot write (or would overwrite without --force)
};

const char UsageText[] =
    "usage: asdtool info FILE\n"
    "       asdtool sample FILE [--seed N] [--force]\n"
    "       asdtool diff FILE1 FILE2\n"
    "       asdtool --help | --version\n"
    "\n"
    "Shows, makes and compares save files (*.asd) of the game.\n"
    "  info    the turn count, the three small values, the 42 item and 12 monster\n"
    "          counters and the sixteen statistics of each of the 50 units, with\n"
    "          END? as the editor shows it (1 = ticked)\n"
    "  sample  writes a new synthetic save file with plausible values, the same\n"
    "          for the same seed (default 1); an existing file is overwritten\n"
    "          only with --force\n"
    "  diff    the values that differ between two save files, as the editor\n"
    "          shows them\n"
    "\n"
    "Exit codes: 0 ok, 1 usage, 2 cannot open a file, 3 not a save file,\n"
    "4 save file cut short, 5 cannot write the file.\n";

// The statistic labels of FieldTable, in UTF-8 for the terminal (FieldTable's
// own are Shift-JIS). Each is six columns wide, like the Shift-JIS original.
const char* const StatLabels[StatCount] = {
    u8"レベル", u8"移動力", u8"経験値", u8" 射程 ", u8" 体力 ", u8"MAXHP ",
    u8"攻撃力", u8"防御力", u8" 魔力 ", u8"魔抵力", u8"命中値", u8"回避値",
    u8"Ｘ座標", u8"Ｙ座標", u8" ため ", u8" END? ",
};
const char TurnCountLabel[] = u8"ターン数";

// A label without its padding blanks, for naming a value in a line of text.
void PrintTrimmed(const char* label) {
  const char* end = label + std::strlen(label);
  while (*label == ' ') ++label;
  while (end > label && end[-1] == ' ') --end;
  std::fwrite(label, 1, static_cast<std::size_t>(end - label), stdout);
}

#ifdef _WIN32
// Paths arrive in the ANSI code page; messages go out in UTF-8.
void PrintPath(std::FILE* out, const char* path) {
  wchar_t wide[1024];
  char utf8[3072];
  int n = MultiByteToWideChar(CP_ACP, 0, path, -1, wide, 1024);
  if (n > 0 && WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr) > 0)
    path = utf8;
  std::fputs(path, out);
}
#else
void PrintPath(std::FILE* out, const char* path) { std::fputs(path, out); }
#endif

// Prints "asdtool: PATH: why" on stderr and returns code.
int Fail(const char* path, const char* why, int code) {
  std::fputs("asdtool: ", stderr);
  PrintPath(stderr, path);
  std::fprintf(stderr, ": %s\n", why);
  return code;
}

// Loads path into block as the editor would; on failure says why and
// returns the exit code.
int Load(const char* path, GameStateData* block) {
  switch (LoadSaveFile(path)) {
    case 0:
      *block = GameState;
      return ExitOk;
    case HeaderMismatch:
      return Fail(path, "not a save file (its header or title record differs)", ExitNotSave);
    case FileTooShort:
      return Fail(path, "the save file is cut short (it ends before its last value region)", ExitShortFile);
    default:
      return Fail(path, "cannot open the file", ExitNoFile);
  }
}

// Prints count counters, ten to a line, each line headed by its first index.
void PrintCounters(const std::uint16_t* values, int count) {
  for (int i = 0; i < count; i += 10) {
    std::printf("  %2d-%-2d", i, i + 9 < count ? i + 9 : count - 1);
    for (int j = i; j < i + 10 && j < count; ++j) std::printf(" %5u", values[j]);
    std::printf("\n");
  }
}

int InfoCommand(const char* path) {
  GameStateData state;
  int code = Load(path, &state);
  if (code != ExitOk) return code;
  std::printf("%s: %u\n", TurnCountLabel, state.turnCount);
  std::printf("small values: %u %u %u\n", state.smallValues[0], state.smallValues[1], state.smallValues[2]);
  std::printf("item counters:\n");
  PrintCounters(state.counters, ItemCounterCount);
  std::printf("monster counters:\n");
  PrintCounters(state.counters + ItemCounterCount, CounterCount - ItemCounterCount);
  std::printf("units:\n");
  // The heading, without the blank that ends the last label.
  char heading[8 + 16 * StatCount] = "unit";  // labels are at most 9 bytes
  for (int r = 0; r < StatCount; ++r) {
    std::strcat(heading, " ");
    std::strcat(heading, StatLabels[r]);
  }
  std::size_t length = std::strlen(heading);
  while (heading[length - 1] == ' ') heading[--length] = '\0';
  std::printf("%s\n", heading);
  for (int u = 0; u < UnitCount; ++u) {
    std::printf("%4d", u);
    for (int r = 0; r < StatCount; ++r) std::printf(" %6u", state.statRows[r][u]);
    std::printf("\n");
  }
  return ExitOk;
}

// Prints one differing value as "name: old -> new".
void PrintChange(std::uint16_t before, std::uint16_t after) { std::printf(": %u -> %u\n", before, after); }

int DiffCommand(const char* pathA, const char* pathB) {
  GameStateData a, b;
  int code = Load(pathA, &a);
  if (code == ExitOk) code = Load(pathB, &b);
  if (code != ExitOk) return code;
  int changes = 0;
  if (a.turnCount != b.turnCount) {
    std::printf("%s", TurnCountLabel);
    PrintChange(a.turnCount, b.turnCount);
    ++changes;
  }
  for (int j = 0; j < SmallValueCount; ++j) {
    if (a.smallValues[j] == b.smallValues[j]) continue;
    std::printf("small value %d", j);
    PrintChange(a.smallValues[j], b.smallValues[j]);
    ++changes;
  }
  for (int k = 0; k < CounterCount; ++k) {
    if (a.counters[k] == b.counters[k]) continue;
    if (k < ItemCounterCount)
      std::printf("item counter %d", k);
    else
      std::printf("monster counter %d", k - ItemCounterCount);
    PrintChange(a.counters[k], b.counters[k]);
    ++changes;
  }
  for (int u = 0; u < UnitCount; ++u) {
    for (int r = 0; r < StatCount; ++r) {
      if (a.statRows[r][u] == b.statRows[r][u]) continue;
      std::printf("unit %d ", u);
      PrintTrimmed(StatLabels[r]);
      PrintChange(a.statRows[r][u], b.statRows[r][u]);
      ++changes;
    }
  }
  if (changes == 0) std::printf("no differences\n");
  return ExitOk;
}

// xorshift32: small, and the same numbers on every platform for a seed.
struct Random {
  std::uint32_t state;
};
std::uint32_t Next(Random* random) {
  std::uint32_t x = random->state;
  x ^= x << 13;
  x ^= x >> 17;
  x ^= x << 5;
  return random->state = x;
}
std::uint16_t Between(Random* random, unsigned low, unsigned high) {
  return static_cast<std::uint16_t>(low + Next(random) % (high - low + 1));
}

// Plausible values for every region of a save file.
void FillSample(Random* random, GameStateData* state) {
  state->turnCount = Between(random, 1, 300);
  for (std::uint16_t& v : state->smallValues) v = Between(random, 0, 3);
  for (std::uint16_t& v : state->counters) v = Between(random, 0, 99);
  for (int u = 0; u < UnitCount; ++u) {
    std::uint16_t maxHp = Between(random, 20, 300);
    const std::uint16_t values[StatCount] = {
        Between(random, 1, 99),   // level
        Between(random, 3, 8),    // movement
        Between(random, 0, 99),   // experience
        Between(random, 1, 3),    // range
        Between(random, 1, maxHp),
        maxHp,
        Between(random, 5, 150),  // attack
        Between(random, 5, 150),  // defence
        Between(random, 0, 150),  // magic
        Between(random, 0, 150),  // magic resistance
        Between(random, 50, 99),  // accuracy
        Between(random, 0, 50),   // evasion
        Between(random, 0, 9),    // X
        Between(random, 0, 4),    // Y
        Between(random, 0, 100),  // charge
        Between(random, 0, 1),    // END?
    };
    for (int r = 0; r < StatCount; ++r) state->statRows[r][u] = values[r];
  }
}

// The length of a sample: every statistic slot whole, up to the twentieth.
const long SampleLength = 274836 + 20 * 400;

enum SkeletonResult { SkeletonWritten, SkeletonNotCreated, SkeletonBroken };

// Writes the records and filler bytes of a new file.
SkeletonResult WriteSkeleton(const char* path, Random* random) {
  std::FILE* file = std::fopen(path, "wb");
  if (!file) return SkeletonNotCreated;
  static unsigned char bytes[SampleLength];
  for (unsigned char& b : bytes) b = static_cast<unsigned char>(Next(random) >> 24);
  std::memcpy(bytes, SaveHeaderText, SaveHeaderLength);
  std::memcpy(bytes + 96, SaveTitleText, SaveTitleLength);
  bool ok = std::fwrite(bytes, 1, sizeof bytes, file) == sizeof bytes;
  return std::fclose(file) == 0 && ok ? SkeletonWritten : SkeletonBroken;
}

bool Exists(const char* path) {
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  std::fclose(file);
  return true;
}

int SampleCommand(const char* path, std::uint32_t seed, bool force) {
  if (!force && Exists(path)) return Fail(path, "the file exists (use --force to overwrite it)", ExitWriteFailed);
  // The seed is spread over the state; xorshift never leaves a zero state.
  Random random = {seed * 2654435761u ^ 0x5EED5A7Eu};
  if (random.state == 0) random.state = 1;
  GameStateData values;
  FillSample(&random, &values);
  // The values go in through the editor's own store, END? inverted and all.
  GameState = values;
  SkeletonResult skeleton = WriteSkeleton(path, &random);
  if (skeleton == SkeletonWritten && StoreSaveFile(path) == 0) return ExitOk;
  // A half-written file is no save file; anything never opened stays.
  if (skeleton != SkeletonNotCreated) std::remove(path);
  return Fail(path, "cannot write the file", ExitWriteFailed);
}

// Reads a decimal seed of at most 32 bits; false when text is not one.
bool ParseSeed(const char* text, std::uint32_t* seed) {
  if (!*text) return false;
  unsigned long long value = 0;
  for (; *text; ++text) {
    if (*text < '0' || *text > '9') return false;
    value = value * 10 + static_cast<unsigned>(*text - '0');
    if (value > 0xFFFFFFFFull) return false;
  }
  *seed = static_cast<std::uint32_t>(value);
  return true;
}

int Usage(const char* why) {
  std::fprintf(stderr, "asdtool: %s\n%s", why, UsageText);
  return ExitUsage;
}

int Run(int argc, char** argv) {
  if (argc < 2) return Usage("no command given");
  const char* command = argv[1];
  if (std::strcmp(command, "--help") == 0 || std::strcmp(command, "-h") == 0) {
    std::fputs(UsageText, stdout);
    return ExitOk;
  }
  if (std::strcmp(command, "--version") == 0) {
    std::printf("asdtool %s\n", ASD_VERSION_TEXT);
    return ExitOk;
  }
  // The operands of the command, and the options of sample.
  const char* operands[2] = {nullptr, nullptr};
  int operandCount = 0;
  bool force = false;
  std::uint32_t seed = 1;
  for (int i = 2; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--force") == 0 && std::strcmp(command, "sample") == 0) {
      force = true;
    } else if (std::strcmp(arg, "--seed") == 0 && std::strcmp(command, "sample") == 0) {
      if (i + 1 >= argc || !ParseSeed(argv[i + 1], &seed)) return Usage("--seed needs a number from 0 to 4294967295");
      ++i;
    } else if (arg[0] == '-' && arg[1] == '-') {
      return Usage("unknown option");
    } else if (operandCount < 2) {
      operands[operandCount++] = arg;
    } else {
      return Usage("too many arguments");
    }
  }
  if (std::strcmp(command, "info") == 0) {
    if (operandCount != 1) return Usage("info needs one FILE");
    return InfoCommand(operands[0]);
  }
  if (std::strcmp(command, "sample") == 0) {
    if (operandCount != 1) return Usage("sample needs one FILE");
    return SampleCommand(operands[0], seed, force);
  }
  if (std::strcmp(command, "diff") == 0) {
    if (operandCount != 2) return Usage("diff needs two FILEs");
    return DiffCommand(operands[0], operands[1]);
  }
  return Usage("unknown command");
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // The output is UTF-8; a console shows it as such while the tool runs.
  UINT consolePage = GetConsoleOutputCP();
  SetConsoleOutputCP(CP_UTF8);
  int code = Run(argc, argv);
  std::fflush(stdout);
  std::fflush(stderr);
  if (consolePage != 0) SetConsoleOutputCP(consolePage);
  return code;
#else
  return Run(argc, argv);
#endif
}
