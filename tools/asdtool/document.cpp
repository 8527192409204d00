#include "document.h"

#include <cstdint>
#include <set>
#include <utility>
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

// The reader of a document through nlohmann's SAX interface: it builds the
// value as nlohmann's parser would and knows the place of each key it reads:
// the keys seen in each object open around it, and the index reached in each
// array.
struct Level {
  Json* value;       // the object or array being read
  std::size_t next;  // in an array: the index of the next element
  std::string key;   // in an object: the last key read
  std::set<std::string> keys;
};
class Reader : public nlohmann::json_sax<Json> {
public:
  explicit Reader(Json& root) : root_(root) {}
  bool null() override { return Put(nullptr); }
  bool boolean(bool value) override { return Put(value); }
  bool number_integer(number_integer_t value) override { return Put(value); }
  bool number_unsigned(number_unsigned_t value) override { return Put(value); }
  bool number_float(number_float_t value, const string_t& text) override {
    const std::size_t sign = text[0] == '-' ? 1 : 0;
    if (text.find_first_not_of("0123456789", sign) != std::string::npos) return Put(value);
    return Put(Json::binary(std::vector<std::uint8_t>(text.begin(), text.end())));
  }
  bool string(string_t& value) override { return Put(std::move(value)); }
  bool binary(binary_t& value) override { return Put(Json(value)); }
  bool start_object(std::size_t /*size*/) override { return Open(Json::object()); }
  bool key(string_t& key) override {
    Level& level = levels_.back();
    level.key = key;
    if (!level.keys.insert(key).second) Refuse(Place(), "a second \"" + key + "\" in one object");
    return true;
  }
  bool end_object() override { return Close(); }
  bool start_array(std::size_t /*size*/) override { return Open(Json::array()); }
  bool end_array() override { return Close(); }
  // Invalid JSON: nlohmann's own exception, which names the line and column.
  bool parse_error(std::size_t /*position*/, const std::string& /*token*/,
                   const Json::exception& error) override {
    throw error;
  }

private:
  // Puts value where the next one goes; true, as nlohmann's reader is to go on.
  bool Put(Json value) {
    Into(std::move(value));
    return true;
  }
  Json* Into(Json value) {
    if (levels_.empty()) {
      root_ = std::move(value);
      return &root_;
    }
    Level& level = levels_.back();
    if (!level.value->is_array()) return &((*level.value)[level.key] = std::move(value));
    ++level.next;
    level.value->push_back(std::move(value));
    return &level.value->back();
  }
  bool Open(Json value) {
    Json* opened = Into(std::move(value));
    levels_.push_back({opened, 0, {}, {}});
    return true;
  }
  bool Close() {
    levels_.pop_back();
    return true;
  }
  // The place of the last key read, as in "units[0].level".
  std::string Place() const {
    std::string place;
    for (const Level& level : levels_) {
      if (level.value->is_array())
        place = Indexed(place, level.next - 1);
      else
        place += (place.empty() ? "" : ".") + level.key;
    }
    return place;
  }
  Json& root_;
  std::vector<Level> levels_;
};

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

}  // namespace

void Refuse(const std::string& place, const std::string& why) { throw Refusal{place + ": " + why}; }

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

Json ReadJson(const std::string& text) {
  Json value;
  Reader reader(value);
  Json::sax_parse(text, &reader);
  return value;
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
  return text;
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
