#include "document.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <set>
#include <vector>

#include "editor/texts.h"  // in UTF-8 here

namespace {

const char DocumentFormat[] = "asd-values/1";

// A field of the document: its key and the range the editor allows for it;
// a flag is true or false in the document and 1 or 0 in GameStateData.
struct Field {
  const char* key;
  unsigned low;
  unsigned high;
  bool flag;
};
const Field TurnCountField = {"turnCount", 0, 65535, false};
const Field SmallValueField = {"smallValues", 0, 3, false};
const Field CounterField = {"count", 0, 99, false};
// In StatRowIndex order.
// clang-format off
const Field UnitFields[StatCount] = {
    {"level", 1, 65535, false},     {"movement", 0, 65535, false},
    {"experience", 0, 65535, false}, {"range", 0, 65535, false},
    {"hp", 0, 65535, false},        {"maxHp", 0, 65535, false},
    {"attack", 0, 65535, false},    {"defence", 0, 65535, false},
    {"magic", 0, 65535, false},     {"magicResistance", 0, 65535, false},
    {"accuracy", 0, 65535, false},  {"evasion", 0, 65535, false},
    {"x", 0, 9, false},             {"y", 0, 4, false},
    {"charge", 0, 65535, false},    {"ended", 0, 1, true},
};
// clang-format on

std::string Indexed(const std::string& place, std::size_t i) {
  return place + "[" + std::to_string(i) + "]";
}

std::string Range(const Field& field) {
  return std::to_string(field.low) + " to " + std::to_string(field.high);
}

// The value at place for a field whose value in the file is current: refused
// when it is of the wrong type, or outside the field's range and not current.
std::uint16_t Checked(const Json& value, const std::string& place, const Field& field,
                      std::uint16_t current) {
  if (field.flag) {
    if (!value.is_boolean()) Refuse(place, "must be true or false");
    return value.get<bool>() ? 1 : 0;
  }
  if (value.is_binary()) {
    const Json::binary_t& digits = value.get_binary();
    Refuse(place, std::string(digits.begin(), digits.end()) + " is outside " + Range(field));
  }
  if (!value.is_number_integer()) Refuse(place, "must be a whole number");
  if (value != Json(current) && (value < Json(field.low) || value > Json(field.high)))
    Refuse(place, value.dump() + " is outside " + Range(field));
  return value.get<std::uint16_t>();
}

// The number an entry of a list names by idKey, below count.
int EntryNumber(const Json& entry, const std::string& place, const char* idKey, int count) {
  if (!entry.is_object() || !entry.contains(idKey))
    Refuse(place, std::string("must be an object with \"") + idKey + "\"");
  const Json& id = entry[idKey];
  if (!id.is_number_integer() || id < Json(0) || id >= Json(count))
    Refuse(place + "." + idKey, "must be a number from 0 to " + std::to_string(count - 1));
  return id.get<int>();
}

// The number of the field of an entry at place that key names.
int FieldNumber(const Field* fields, int fieldCount, const std::string& place,
                const std::string& key) {
  int r = 0;
  while (r < fieldCount && key != fields[r].key) ++r;
  if (r == fieldCount) Refuse(place + "." += key, "unknown key");
  return r;
}

// Checks the entries of a list of units, or of counters from first on, each
// naming its number below count, and puts their values into edited.
void ApplyEntries(const Json& list, const std::string& listPlace, int first, int count,
                  const GameStateData& original, GameStateData& edited) {
  const bool units = listPlace == "units";
  const char* idKey = units ? "unit" : "index";
  const Field* fields = units ? UnitFields : &CounterField;
  const int fieldCount = units ? StatCount : 1;
  if (!list.is_array()) Refuse(listPlace, "must be an array");
  std::vector<bool> seen(count);
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string place = Indexed(listPlace, i);
    const int n = EntryNumber(list[i], place, idKey, count);
    if (seen[n])
      Refuse(place, "a second entry for " + std::string(idKey) + " " + std::to_string(n));
    seen[n] = true;
    for (const auto& item : list[i].items()) {
      const std::string& key = item.key();
      if (key == idKey || key == "name") continue;  // the name only tells the reader
      const int r = FieldNumber(fields, fieldCount, place, key);
      std::uint16_t& value = units ? edited.statRows[r][n] : edited.counters[first + n];
      const std::uint16_t current = units ? original.statRows[r][n] : original.counters[first + n];
      value = Checked(item.value(), place + "." += key, fields[r], current);
    }
  }
}

void ApplySmallValues(const Json& value, const GameStateData& original, GameStateData& edited) {
  const std::string key = SmallValueField.key;
  if (!value.is_array() || value.size() != SmallValueCount)
    Refuse(key, "must be an array of three numbers");
  for (int j = 0; j < SmallValueCount; ++j)
    edited.smallValues[j] =
        Checked(value[j], Indexed(key, j), SmallValueField, original.smallValues[j]);
}

// A list of values that set's keys name: its name, its field (units: the
// first), how many values its index chooses from (0: it takes none), and the
// first of them in GameStateData.
struct Named {
  const char* name;
  const Field* field;
  int count;
  int first;
};
const Named Lists[] = {
    {"turnCount", &TurnCountField, 0, 0},
    {"smallValues", &SmallValueField, SmallValueCount, 0},
    {"items", &CounterField, ItemCounterCount, 0},
    {"monsters", &CounterField, CounterCount - ItemCounterCount, ItemCounterCount},
    {"units", UnitFields, UnitCount, 0},
};

// The value n of what named names in state.
template <typename State>
auto& ValueAt(State& state, const Named& named, int n) {
  if (named.field == &TurnCountField) return state.turnCount;
  if (named.field == &SmallValueField) return state.smallValues[n];
  if (named.field == &CounterField) return state.counters[named.first + n];
  return state.statRows[named.field - UnitFields][n];
}

// The index token gives among count values: -1 for *, every one.
int IndexOf(const std::string& token, const Named& named, const std::string& key) {
  if (token == "*") return -1;
  if (token.empty() || token.find_first_not_of("0123456789") != std::string::npos)
    Refuse(key, "names no value");
  if (token.size() > 9 || std::stoul(token) >= static_cast<unsigned>(named.count))
    Refuse(key, std::string(named.name) + " are 0 to " + std::to_string(named.count - 1));
  return static_cast<int>(std::stoul(token));
}

// What key names, as "turnCount", "units.7.level", "items.*" or
// "items.3.count" do, and the index it gives.
Named Parse(const std::string& key, int* index) {
  std::vector<std::string> tokens;
  for (std::size_t start = 0; start <= key.size();) {
    const std::size_t end = std::min(key.find('.', start), key.size());
    tokens.push_back(key.substr(start, end - start));
    start = end + 1;
  }
  const Named* list = std::begin(Lists);
  while (list != std::end(Lists) && tokens[0] != list->name) ++list;
  if (list == std::end(Lists)) Refuse(key, "names no value");
  Named named = *list;
  std::size_t next = 1;  // the token to read
  *index = 0;
  if (named.count > 0 && tokens.size() > next) *index = IndexOf(tokens[next++], named, key);
  if (named.field == UnitFields) {  // and then one of their fields
    named.field = nullptr;
    for (const Field& field : UnitFields)
      if (tokens.size() > next && tokens[next] == field.key) named.field = &field;
    ++next;
  } else if (named.field == &CounterField && tokens.size() > next && tokens[next] == "count") {
    ++next;
  }
  if (!named.field || tokens.size() != next || (next == 1 && named.count > 0))
    Refuse(key, "names no value");
  return named;
}

}  // namespace

Json Document(const GameStateData& state) {
  Json doc;
  doc["format"] = DocumentFormat;
  doc[TurnCountField.key] = state.turnCount;
  doc[SmallValueField.key] = state.smallValues;
  for (int k = 0; k < CounterCount; ++k) {
    const bool item = k < ItemCounterCount;
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

std::string SettableKeys() {
  const auto indices = [](int count) { return "N from 0 to " + std::to_string(count - 1) + "\n"; };
  std::string text = "KEY names a value as the document does, * standing for every index:\n  " +
                     std::string(TurnCountField.key) + "\n  " + SmallValueField.key + ".N   " +
                     indices(SmallValueCount) + "  items.N         " + indices(ItemCounterCount) +
                     "  monsters.N      " + indices(CounterCount - ItemCounterCount) +
                     "  units.N.FIELD   " + indices(UnitCount) + "  FIELD one of:";
  for (int r = 0; r < StatCount; ++r)
    text += (r % 8 == 0 ? "\n    " : " ") + std::string(UnitFields[r].key);
  return text +
         "\nVALUE is what the document holds there: a whole number, or true or false for\n"
         "ended; set refuses what import refuses. The settings are taken in order, so of a\n"
         "* key and a key with an index it covers, the later wins; a key given twice is refused.";
}

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
      ApplySmallValues(value, original, edited);
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

void ApplySettings(const std::vector<std::string>& settings, const GameStateData& original,
                   GameStateData& edited) {
  std::set<std::string> given;
  for (const std::string& setting : settings) {
    const std::size_t equals = setting.find('=');
    if (equals == std::string::npos) Refuse(setting, "must be KEY=VALUE");
    const std::string key = setting.substr(0, equals);
    int index = 0;
    const Named named = Parse(key, &index);
    // units.07.level names what units.7.level names.
    if (!given.insert(named.name + ("." + std::to_string(index)) + named.field->key).second)
      Refuse(key, "given twice");
    Json value;
    try {
      value = ReadJson(setting.substr(equals + 1));
    } catch (const Json::exception&) {
      Refuse(setting, "the value must be a number, true or false");
    }
    const int end = index < 0 ? named.count : index + 1;
    for (int n = index < 0 ? 0 : index; n < end; ++n)
      ValueAt(edited, named, n) = Checked(value, key, *named.field, ValueAt(original, named, n));
  }
}
