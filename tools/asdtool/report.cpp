// The text reports: info and diff, with the statistics named as the editor
// names them.
#include <cstdint>
#include <string>

#include "commands.h"
#include "editor/savefile.h"
#include "editor/texts.h"  // in UTF-8 here
#include "messages.h"

namespace {

// The statistic labels of FieldTable, in UTF-8 for the terminal (FieldTable's
// own are Shift-JIS). Each is six columns wide, like the Shift-JIS original.
const char* const StatLabels[StatCount] = {
    u8"レベル", u8"移動力", u8"経験値", u8" 射程 ", u8" 体力 ", u8"MAXHP ", u8"攻撃力", u8"防御力",
    u8" 魔力 ", u8"魔抵力", u8"命中値", u8"回避値", u8"Ｘ座標", u8"Ｙ座標", u8" ため ", u8" END? ",
};

// A label without its padding blanks, for naming a value in a line of text.
std::string Trimmed(const char* label) {
  const std::string text = label;
  const std::size_t first = text.find_first_not_of(' ');
  return text.substr(first, text.find_last_not_of(' ') + 1 - first);
}

// number right-aligned in Width columns.
template <std::size_t Width>
std::string Padded(unsigned number) {
  const std::size_t width = Width;
  const std::string digits = std::to_string(number);
  return std::string(digits.size() < width ? width - digits.size() : 0, ' ') + digits;
}

// count counters, ten to a line, each line headed by its first and last index.
std::string Counters(const std::uint16_t* values, int count) {
  std::string text;
  for (int i = 0; i < count; i += 10) {
    const int last = i + 9 < count ? i + 9 : count - 1;
    const std::string lastText = std::to_string(last);
    text += "  " + Padded<2>(i) + "-" + lastText + std::string(lastText.size() < 2 ? 1 : 0, ' ');
    for (int j = i; j <= last; ++j) text += " " + Padded<5>(values[j]);
    text += "\n";
  }
  return text;
}

// The heading of the unit table and a row for each unit.
std::string Units(const GameStateData& state) {
  std::string heading = "unit";
  for (const char* label : StatLabels) heading += std::string(" ") + label;
  std::string text = "units:\n" + heading.substr(0, heading.find_last_not_of(' ') + 1) + "\n";
  for (int u = 0; u < UnitCount; ++u) {
    text += Padded<4>(u);
    for (const StatRow& row : state.statRows) text += " " + Padded<6>(row[u]);
    text += "\n";
  }
  return text;
}

// "name: old -> new" for a value that differs.
std::string Change(const std::string& name, unsigned before, unsigned after) {
  return name + ": " + std::to_string(before) + " -> " + std::to_string(after) + "\n";
}

std::string CounterName(int k) {
  return k < ItemCounterCount ? "item counter " + std::to_string(k)
                              : "monster counter " + std::to_string(k - ItemCounterCount);
}

// The values that differ between a and b, one to a line.
std::string Differences(const GameStateData& a, const GameStateData& b) {
  std::string text;
  if (a.turnCount != b.turnCount)
    text += Change(ValueLabels[TurnCountValue], a.turnCount, b.turnCount);
  for (int j = 0; j < SmallValueCount; ++j) {
    if (a.smallValues[j] != b.smallValues[j])
      text += Change("small value " + std::to_string(j), a.smallValues[j], b.smallValues[j]);
  }
  for (int k = 0; k < CounterCount; ++k) {
    if (a.counters[k] == b.counters[k]) continue;
    text += Change(CounterName(k), a.counters[k], b.counters[k]);
  }
  for (int u = 0; u < UnitCount; ++u) {
    for (int r = 0; r < StatCount; ++r) {
      if (a.statRows[r][u] == b.statRows[r][u]) continue;
      const std::string name = "unit " + std::to_string(u) + " " + Trimmed(StatLabels[r]);
      text += Change(name, a.statRows[r][u], b.statRows[r][u]);
    }
  }
  return text;
}

}  // namespace

int InfoCommand(const char* path) {
  GameStateData state;
  const int code = Load(path, &state);
  if (code != ExitOk) return code;
  const std::uint16_t* small = state.smallValues;
  return WriteOut(
      std::string(ValueLabels[TurnCountValue]) + ": " + std::to_string(state.turnCount) +
      "\nsmall values: " + std::to_string(small[0]) + " " + std::to_string(small[1]) + " " +
      std::to_string(small[2]) + "\nitem counters:\n" + Counters(state.counters, ItemCounterCount) +
      "monster counters:\n" +
      Counters(state.counters + ItemCounterCount, CounterCount - ItemCounterCount) + Units(state));
}

int DiffCommand(const char* pathA, const char* pathB) {
  GameStateData a;
  GameStateData b;
  int code = Load(pathA, &a);
  if (code == ExitOk) code = Load(pathB, &b);
  if (code != ExitOk) return code;
  const std::string differences = Differences(a, b);
  code = WriteOut(differences.empty() ? "no differences\n" : differences);
  if (code != ExitOk) return code;
  return differences.empty() ? ExitOk : ExitDiffer;
}
