// The reports for people: info and diff, with every value named as the
// editor names it (export is the one for scripts).
#include <algorithm>
#include <cstdint>
#include <string>

#include "commands.h"
#include "core/savefile.h"
#include "editor/texts.h"  // in UTF-8 here
#include "messages.h"

namespace {

// The editor shows no label for the small values.
const char SmallValuesHeading[] = u8"小さな値";
const char* const ItemsHeading = ValueLabels[ItemCountersValue];
const char* const MonstersHeading = ValueLabels[MonsterCountersValue];
const char UnitsHeading[] = u8"ユニット";
const char NumberHeading[] = u8"番号";
const char NameHeading[] = u8"名前";
const char NoDifferencesText[] = u8"違いはありません\n";

const int NameColumns = 10;  // the widest item, monster and unit names
const int CountersPerLine = 4;
const int StatColumns = 6;  // a statistic's label and its values below it

// A label without its padding blanks, for naming a value in a line of text.
std::string Trimmed(const char* label) {
  const std::string text = label;
  const std::size_t first = text.find_first_not_of(' ');
  return text.substr(first, text.find_last_not_of(' ') + 1 - first);
}

// The columns a character takes in a terminal: one for ASCII, the
// alphabets of two UTF-8 bytes and the half-width forms, two for the rest
// (the Japanese of the names).
int Columns(const unsigned char* at, int length) {
  if (length < 3) return 1;
  const unsigned long c = ((at[0] & 0x0FUL) << 12) | ((at[1] & 0x3FUL) << 6) | (at[2] & 0x3FUL);
  const bool halfWidth = (c >= 0xFF61 && c <= 0xFFDC) || (c >= 0xFFE8 && c <= 0xFFEE);
  return length == 3 && halfWidth ? 1 : 2;
}

// text and blanks after it to columns columns.
std::string Filled(const std::string& text, int columns) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.c_str());
  for (std::size_t i = 0; i < text.size();) {
    int length = bytes[i] < 0xC0 ? 1 : bytes[i] < 0xE0 ? 2 : bytes[i] < 0xF0 ? 3 : 4;
    length = static_cast<int>(std::min<std::size_t>(length, text.size() - i));
    columns -= Columns(bytes + i, length);
    i += length;
  }
  return text + std::string(columns > 0 ? columns : 0, ' ');
}

// number right-aligned in width columns.
std::string Padded(unsigned number, std::size_t width) {
  const std::string digits = std::to_string(number);
  return std::string(digits.size() < width ? width - digits.size() : 0, ' ') + digits;
}

// The counters from first on, each with its number in the list and its name,
// CountersPerLine to a line.
std::string Counters(const char* heading, const GameStateData& state, int first, int count) {
  std::string text = std::string(heading) + ":\n";
  for (int i = 0; i < count; ++i) {
    text += Padded(i, 3) + " " + Filled(ItemLabels[first + i], NameColumns) +
            Padded(state.counters[first + i], 5);
    text += i % CountersPerLine == CountersPerLine - 1 || i == count - 1 ? "\n" : " ";
  }
  return text;
}

// The heading of the unit table and a row for each unit.
std::string Units(const GameStateData& state) {
  std::string heading = std::string(NumberHeading) + " " + Filled(NameHeading, NameColumns);
  for (const FieldRow& field : FieldTable) heading += " " + Filled(field.label, StatColumns);
  std::string text = std::string(UnitsHeading) + ":\n" +
                     heading.substr(0, heading.find_last_not_of(' ') + 1) + "\n";
  for (int u = 0; u < UnitCount; ++u) {
    text += Padded(u, 4) + " " + Filled(UnitName(u), NameColumns);
    for (const StatRow& row : state.statRows) text += " " + Padded(row[u], StatColumns);
    text += "\n";
  }
  return text;
}

// "name: old -> new" for a value that differs.
std::string Change(const std::string& name, unsigned before, unsigned after) {
  return name + ": " + std::to_string(before) + " -> " + std::to_string(after) + "\n";
}

// A counter as the item window names it, after its list and number there.
std::string CounterName(int k) {
  const bool item = k < ItemCounterCount;
  return std::string(item ? ItemsHeading : MonstersHeading) + " " +
         std::to_string(item ? k : k - ItemCounterCount) + " " + ItemLabels[k];
}

// The values that differ between a and b, one to a line.
std::string Differences(const GameStateData& a, const GameStateData& b) {
  std::string text;
  if (a.turnCount != b.turnCount)
    text += Change(ValueLabels[TurnCountValue], a.turnCount, b.turnCount);
  for (int j = 0; j < SmallValueCount; ++j) {
    if (a.smallValues[j] != b.smallValues[j])
      text += Change(SmallValuesHeading + (" " + std::to_string(j)), a.smallValues[j],
                     b.smallValues[j]);
  }
  for (int k = 0; k < CounterCount; ++k) {
    if (a.counters[k] == b.counters[k]) continue;
    text += Change(CounterName(k), a.counters[k], b.counters[k]);
  }
  for (int u = 0; u < UnitCount; ++u) {
    for (int r = 0; r < StatCount; ++r) {
      if (a.statRows[r][u] == b.statRows[r][u]) continue;
      const std::string name = std::string(UnitsHeading) + " " + std::to_string(u) + " " +
                               UnitName(u) + " " + Trimmed(FieldTable[r].label);
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
      std::string(ValueLabels[TurnCountValue]) + ": " + std::to_string(state.turnCount) + "\n" +
      SmallValuesHeading + ": " + std::to_string(small[0]) + " " + std::to_string(small[1]) + " " +
      std::to_string(small[2]) + "\n" + Counters(ItemsHeading, state, 0, ItemCounterCount) +
      Counters(MonstersHeading, state, ItemCounterCount, CounterCount - ItemCounterCount) +
      Units(state));
}

int DiffCommand(const char* pathA, const char* pathB) {
  GameStateData a;
  GameStateData b;
  int code = Load(pathA, &a);
  if (code == ExitOk) code = Load(pathB, &b);
  if (code != ExitOk) return code;
  const std::string differences = Differences(a, b);
  code = WriteOut(differences.empty() ? NoDifferencesText : differences);
  if (code != ExitOk) return code;
  return differences.empty() ? ExitOk : ExitDiffer;
}
