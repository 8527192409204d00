// asdtool: shows, compares, makes and edits save files of the game from the
// command line.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "asd_version.h"
#include "editor/savefile.h"
#include "editor/texts.h"  // in UTF-8 here

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

enum ExitCode {
  ExitOk = 0,
  ExitUsage = 1,
  ExitNoFile = 2,       // missing or cannot be opened
  ExitNotSave = 3,      // the header or title record differs
  ExitShortFile = 4,    // the records match but the file ends too soon
  ExitWriteFailed = 5,  // cannot write (or would overwrite without --force)
  ExitRefused = 6       // a document or KEY=VALUE names a value the editor would not take
};

const char UsageText[] =
    "usage: asdtool info FILE\n"
    "       asdtool sample FILE [--seed N] [--force]\n"
    "       asdtool diff FILE1 FILE2\n"
    "       asdtool export FILE [-o OUT] [--force]\n"
    "       asdtool import FILE DOC\n"
    "       asdtool set FILE KEY=VALUE...\n"
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
    "  export  every value info shows, as a JSON document (UTF-8), to standard\n"
    "          output or to OUT, which is replaced only with --force\n"
    "  import  writes the values a JSON document names into FILE in place; the\n"
    "          others stay as they are. DOC - is standard input. An exported\n"
    "          document imports back to the same bytes, except END? values other\n"
    "          than 0 and 1, which become the 0 or 1 the editor writes\n"
    "  set     the same for the values KEY=VALUE names, by the document's keys:\n"
    "          turnCount=215 smallValues.2=1 items.10=99 monsters.3=0\n"
    "          units.7.level=99 units.*.ended=false (* is every index)\n"
    "A value outside the editor's range for its field is refused unless it is\n"
    "the one already in the file; a refused document writes nothing.\n"
    "\n"
    "Exit codes: 0 ok, 1 usage, 2 cannot open a file, 3 not a save file,\n"
    "4 save file cut short, 5 cannot write the file, 6 document or value refused.\n";

// The statistic labels of FieldTable, in UTF-8 for the terminal (FieldTable's
// own are Shift-JIS). Each is six columns wide, like the Shift-JIS original.
const char* const StatLabels[StatCount] = {
    u8"レベル", u8"移動力", u8"経験値", u8" 射程 ", u8" 体力 ", u8"MAXHP ", u8"攻撃力", u8"防御力",
    u8" 魔力 ", u8"魔抵力", u8"命中値", u8"回避値", u8"Ｘ座標", u8"Ｙ座標", u8" ため ", u8" END? ",
};

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

// Says why a load or store of path failed with result; returns the exit code.
int Explain(const char* path, int result) {
  switch (result) {
    case HeaderMismatch:
      return Fail(path, "not a save file (its header or title record differs)", ExitNotSave);
    case FileTooShort:
      return Fail(path, "the save file is cut short (it ends before its last value region)",
                  ExitShortFile);
    case OpenFailed:
      return Fail(path, "cannot open the file", ExitNoFile);
    default:
      return Fail(path, "cannot write the file", ExitWriteFailed);
  }
}

// Loads path into block as the editor would; on failure says why and
// returns the exit code.
int Load(const char* path, GameStateData* block) {
  int result = LoadSaveFile(path);
  if (result == 0) *block = GameState;
  return result == 0 ? ExitOk : Explain(path, result);
}

// Writes values into the save file at path through the editor's own store.
int Store(const char* path, const GameStateData& values) {
  GameState = values;
  int result = StoreSaveFile(path);
  // The file was opened for reading just before: one that cannot be opened
  // for writing now is one we cannot write.
  return result == 0 ? ExitOk : Explain(path, result == OpenFailed ? WriteFailed : result);
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
  std::printf("small values: %u %u %u\n", state.smallValues[0], state.smallValues[1],
              state.smallValues[2]);
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
void PrintChange(std::uint16_t before, std::uint16_t after) {
  std::printf(": %u -> %u\n", before, after);
}

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
        Between(random, 1, 99),                                     // level
        Between(random, 3, 8),                                      // movement
        Between(random, 0, 99),                                     // experience
        Between(random, 1, 3),                                      // range
        Between(random, 1, maxHp), maxHp, Between(random, 5, 150),  // attack
        Between(random, 5, 150),                                    // defence
        Between(random, 0, 150),                                    // magic
        Between(random, 0, 150),                                    // magic resistance
        Between(random, 50, 99),                                    // accuracy
        Between(random, 0, 50),                                     // evasion
        Between(random, 0, 9),                                      // X
        Between(random, 0, 4),                                      // Y
        Between(random, 0, 100),                                    // charge
        Between(random, 0, 1),                                      // END?
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
  if (!force && Exists(path))
    return Fail(path, "the file exists (use --force to overwrite it)", ExitWriteFailed);
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

// The values as a JSON document: keys in a fixed order, names in UTF-8.
using Json = nlohmann::ordered_json;
const char DocumentFormat[] = "asd-values/1";

// A field of the document: its key and the range the editor allows for it;
// a flag is true or false in the document and 1 or 0 in GameStateData.
struct Field {
  const char* key;
  unsigned low, high;
  bool flag;
};
const Field TurnCountField = {"turnCount", 0, 65535, false};
const Field SmallValueField = {"smallValues", 0, 3, false};
const Field CounterField = {"count", 0, 99, false};
// In StatRowIndex order.
const Field UnitFields[StatCount] = {
    {"level", 1, 65535, false},
    {"movement", 0, 65535, false},
    {"experience", 0, 65535, false},
    {"range", 0, 65535, false},
    {"hp", 0, 65535, false},
    {"maxHp", 0, 65535, false},
    {"attack", 0, 65535, false},
    {"defence", 0, 65535, false},
    {"magic", 0, 65535, false},
    {"magicResistance", 0, 65535, false},
    {"accuracy", 0, 65535, false},
    {"evasion", 0, 65535, false},
    {"x", 0, 9, false},
    {"y", 0, 4, false},
    {"charge", 0, 65535, false},
    {"ended", 0, 1, true},
};

Json Document(const GameStateData& state) {
  Json doc;
  doc["format"] = DocumentFormat;
  doc[TurnCountField.key] = state.turnCount;
  doc[SmallValueField.key] = state.smallValues;
  for (int k = 0; k < CounterCount; ++k) {
    bool item = k < ItemCounterCount;
    doc[item ? "items" : "monsters"].push_back({{"index", item ? k : k - ItemCounterCount},
                                                {"name", ItemLabels[k]},
                                                {CounterField.key, state.counters[k]}});
  }
  for (int u = 0; u < UnitCount; ++u) {
    Json unit = {{"unit", u}, {"name", u < HeroCount ? HeroNames[u] : EnemyName}};
    for (int r = 0; r < StatCount; ++r) {
      if (UnitFields[r].flag)
        unit[UnitFields[r].key] = state.statRows[r][u] != 0;
      else
        unit[UnitFields[r].key] = state.statRows[r][u];
    }
    doc["units"].push_back(unit);
  }
  return doc;
}

// Why a document is refused: the JSON path of the value at fault and the reason.
struct Refusal {
  std::string text;
};
[[noreturn]] void Refuse(const std::string& path, const std::string& why) {
  throw Refusal{path + ": " + why};
}

std::string Indexed(const std::string& path, std::size_t i) {
  return path + "[" + std::to_string(i) + "]";
}

// The value at path for a field whose value in the file is current: refused
// when it is of the wrong type, or outside the field's range and not current.
std::uint16_t Checked(const Json& value, const std::string& path, const Field& field,
                      std::uint16_t current) {
  if (field.flag) {
    if (!value.is_boolean()) Refuse(path, "must be true or false");
    return value.get<bool>() ? 1 : 0;
  }
  if (!value.is_number_integer()) Refuse(path, "must be a whole number");
  if (value != Json(current) && (value < Json(field.low) || value > Json(field.high)))
    Refuse(path, value.dump() + " is outside " + std::to_string(field.low) + " to " +
                     std::to_string(field.high));
  return value.get<std::uint16_t>();
}

// Checks the entries of a list of units, or of counters from first on, each
// naming its number below count, and puts their values into edited.
void ApplyEntries(const Json& list, const std::string& listPath, int first, int count,
                  const GameStateData& original, GameStateData& edited) {
  const bool units = listPath == "units";
  const char* idKey = units ? "unit" : "index";
  const Field* fields = units ? UnitFields : &CounterField;
  const int fieldCount = units ? StatCount : 1;
  if (!list.is_array()) Refuse(listPath, "must be an array");
  std::vector<bool> seen(count);
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string path = Indexed(listPath, i);
    const Json& entry = list[i];
    if (!entry.is_object() || !entry.contains(idKey))
      Refuse(path, std::string("must be an object with \"") + idKey + "\"");
    const Json& id = entry[idKey];
    if (!id.is_number_integer() || id < Json(0) || id >= Json(count))
      Refuse(path + "." + idKey, "must be a number from 0 to " + std::to_string(count - 1));
    int n = id.get<int>();
    if (seen[n]) Refuse(path, "a second entry for " + std::string(idKey) + " " + std::to_string(n));
    seen[n] = true;
    for (const auto& item : entry.items()) {
      const std::string& key = item.key();
      if (key == idKey || key == "name") continue;  // the name only tells the reader
      int r = 0;
      while (r < fieldCount && key != fields[r].key) ++r;
      if (r == fieldCount) Refuse(path + "." + key, "unknown key");
      auto slot = [&](auto& state) -> auto& {
        return units ? state.statRows[r][n] : state.counters[first + n];
      };
      slot(edited) = Checked(item.value(), path + "." + key, fields[r], slot(original));
    }
  }
}

// Checks every value doc names against the file's values (original) and puts
// them into edited; refuses the document at its first fault.
void Apply(const Json& doc, const GameStateData& original, GameStateData& edited) {
  if (!doc.is_object()) Refuse("the document", "must be a JSON object");
  for (const auto& item : doc.items()) {
    const std::string& key = item.key();
    const Json& value = item.value();
    if (key == "format") {
      if (value != DocumentFormat) Refuse(key, std::string("must be \"") + DocumentFormat + "\"");
    } else if (key == TurnCountField.key) {
      edited.turnCount = Checked(value, key, TurnCountField, original.turnCount);
    } else if (key == SmallValueField.key) {
      if (!value.is_array() || value.size() != SmallValueCount)
        Refuse(key, "must be an array of three numbers");
      for (int j = 0; j < SmallValueCount; ++j)
        edited.smallValues[j] =
            Checked(value[j], Indexed(key, j), SmallValueField, original.smallValues[j]);
    } else if (key == "items") {
      ApplyEntries(value, key, 0, ItemCounterCount, original, edited);
    } else if (key == "monsters") {
      ApplyEntries(value, key, ItemCounterCount, CounterCount - ItemCounterCount, original, edited);
    } else if (key == "units") {
      ApplyEntries(value, key, 0, UnitCount, original, edited);
    } else {
      Refuse(key, "unknown key");
    }
  }
}

// Writes text to path, which is replaced only when force is set.
int WriteText(const char* path, const std::string& text, bool force) {
  if (!force && Exists(path))
    return Fail(path, "the file exists (use --force to overwrite it)", ExitWriteFailed);
  std::FILE* file = std::fopen(path, "wb");
  bool ok = file && std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (file && std::fclose(file) != 0) ok = false;
  return ok ? ExitOk : Fail(path, "cannot write the file", ExitWriteFailed);
}

int ExportCommand(const char* path, const char* outPath, bool force) {
  GameStateData state;
  int code = Load(path, &state);
  if (code != ExitOk) return code;
  std::string text = Document(state).dump(2) + "\n";
  if (outPath) return WriteText(outPath, text, force);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return ExitOk;
}

// Reads the whole of path ("-": standard input) into text.
bool ReadText(const char* path, std::string* text) {
  bool standardInput = std::strcmp(path, "-") == 0;
  std::FILE* file = standardInput ? stdin : std::fopen(path, "rb");
  if (!file) return false;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
    text->append(buffer, n);
  bool ok = !std::ferror(file);
  if (!standardInput) std::fclose(file);
  return ok;
}

// Checks the document of edit against the save file at path and, when every
// value is taken, writes the file; a refusal is reported as coming from label.
template <typename Edit>
int Edited(const char* path, const char* label, Edit edit) {
  GameStateData original;
  int code = Load(path, &original);
  if (code != ExitOk) return code;
  GameStateData edited = original;
  try {
    Apply(edit(original), original, edited);
  } catch (const Refusal& refusal) {
    return Fail(label, refusal.text.c_str(), ExitRefused);
  } catch (const std::exception& error) {
    // Invalid JSON: "[json.exception.parse_error.101] parse error at line 3, column 1: ..."
    const char* why = std::strstr(error.what(), "] ");
    return Fail(label, why ? why + 2 : error.what(), ExitRefused);
  }
  return Store(path, edited);
}

int ImportCommand(const char* path, const char* docPath) {
  std::string text;
  if (!ReadText(docPath, &text)) return Fail(docPath, "cannot open the file", ExitNoFile);
  const char* label = std::strcmp(docPath, "-") == 0 ? "standard input" : docPath;
  return Edited(path, label, [&](const GameStateData&) { return Json::parse(text); });
}

// The document values KEY=VALUE name: every value of the file, changed where
// a KEY (a dotted path, * for every index) names it.
Json SetDocument(const GameStateData& original, const std::vector<const char*>& settings) {
  Json doc = Document(original);
  for (const char* setting : settings) {
    const std::string text = setting;
    const std::size_t equals = text.find('=');
    const std::string key = text.substr(0, equals);
    if (equals == std::string::npos) Refuse(text, "must be KEY=VALUE");
    const Json value = Json::parse(text.substr(equals + 1), nullptr, false);
    if (value.is_discarded()) Refuse(text, "the value must be a number, true or false");
    std::vector<Json*> targets = {&doc};
    for (std::size_t start = 0; start <= key.size();) {
      std::size_t end = std::min(key.find('.', start), key.size());
      const std::string part = key.substr(start, end - start);
      start = end + 1;
      const bool every = part == "*";
      const bool number = !part.empty() && part.size() < 4 &&
                          part.find_first_not_of("0123456789") == std::string::npos;
      const std::size_t index = number ? std::stoul(part) : 0;
      std::vector<Json*> next;
      for (Json* target : targets) {
        if (target->is_array() && (every || number)) {
          for (std::size_t i = 0; i < target->size(); ++i)
            if (every || i == index) next.push_back(&(*target)[i]);
        } else if (target->is_object() && target->contains(part) && part != "format" &&
                   part != "name" && part != "index" && part != "unit") {
          next.push_back(&(*target)[part]);
        }
      }
      if (next.empty()) Refuse(key, "names no value");
      targets = next;
    }
    for (Json* target : targets) {
      if (target->is_object() && target->contains(CounterField.key))
        target = &(*target)[CounterField.key];
      if (target->is_structured()) Refuse(key, "names no single value");
      *target = target->is_boolean() && (value == 0 || value == 1) ? Json(value == 1) : value;
    }
  }
  return doc;
}

int SetCommand(const char* path, const std::vector<const char*>& settings) {
  return Edited(path, path,
                [&](const GameStateData& original) { return SetDocument(original, settings); });
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
  // The operands of the command (any number for set), and the options of
  // sample and export.
  const bool sample = std::strcmp(command, "sample") == 0,
             exporting = std::strcmp(command, "export") == 0;
  const bool set = std::strcmp(command, "set") == 0;
  std::vector<const char*> operands;
  const char* outPath = nullptr;
  bool force = false;
  std::uint32_t seed = 1;
  for (int i = 2; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--force") == 0 && (sample || exporting)) {
      force = true;
    } else if (std::strcmp(arg, "--seed") == 0 && sample) {
      if (i + 1 >= argc || !ParseSeed(argv[i + 1], &seed))
        return Usage("--seed needs a number from 0 to 4294967295");
      ++i;
    } else if (std::strcmp(arg, "-o") == 0 && exporting) {
      if (i + 1 >= argc) return Usage("-o needs a file name");
      outPath = argv[++i];
    } else if (arg[0] == '-' && arg[1] == '-') {
      return Usage("unknown option");
    } else if (operands.size() < 2 || set) {
      operands.push_back(arg);
    } else {
      return Usage("too many arguments");
    }
  }
  const int operandCount = static_cast<int>(operands.size());
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
  if (exporting) {
    if (operandCount != 1) return Usage("export needs one FILE");
    return ExportCommand(operands[0], outPath, force);
  }
  if (std::strcmp(command, "import") == 0) {
    if (operandCount != 2) return Usage("import needs FILE and DOC");
    return ImportCommand(operands[0], operands[1]);
  }
  if (set) {
    if (operandCount < 2) return Usage("set needs FILE and at least one KEY=VALUE");
    return SetCommand(operands[0], std::vector<const char*>(operands.begin() + 1, operands.end()));
  }
  return Usage("unknown command");
}

// Runs a command; an exception that gets this far (memory running out) is a
// message and a failure too, never an abnormal end.
int RunSafely(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "asdtool: %s\n", error.what());
    return ExitWriteFailed;
  }
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // The output is UTF-8; a console shows it as such while the tool runs.
  UINT consolePage = GetConsoleOutputCP();
  SetConsoleOutputCP(CP_UTF8);
  int code = RunSafely(argc, argv);
  std::fflush(stdout);
  std::fflush(stderr);
  if (consolePage != 0) SetConsoleOutputCP(consolePage);
  return code;
#else
  return RunSafely(argc, argv);
#endif
}
