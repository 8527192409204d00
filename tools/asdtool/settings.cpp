// set's KEY=VALUE settings: each names a value as the document does and is
// checked as the same value in a document is.
#include <algorithm>
#include <set>
#include <vector>

#include "document.h"

namespace {

// What a key names: the row of GameValues, and the index it gives (-1: *,
// every one).
struct Named {
  int row;
  int index;
};

// The index token gives among count values of what listKey names, or
// NoIndex when it gives none.
const int NoIndex = -2;
int IndexOf(const std::string& token, const std::string& listKey, int count,
            const std::string& key) {
  if (token == "*") return -1;
  if (token.empty() || token.find_first_not_of("0123456789") != std::string::npos) return NoIndex;
  if (token.size() > 9 || std::stoul(token) >= static_cast<unsigned>(count))
    Refuse(key, listKey + " are 0 to " + std::to_string(count - 1));
  return static_cast<int>(std::stoul(token));
}

Named Parse(const std::string& key, bool hinted = true);

// " (KEY?)" for the key near the one of tokens that names a value, its
// dotted parts each near the one given, or "".
std::string Hint(std::vector<std::string> tokens) {
  std::vector<std::string> keys = DocumentKeys();
  keys.erase(keys.begin());  // the format is no value
  tokens[0] = NearestKey(tokens[0], keys);
  for (const EntryList& list : EntryLists)
    if (tokens[0] == list.key && tokens.size() == 3)
      tokens[2] = NearestKey(tokens[2], EntryKeys(list));
  std::string near = tokens[0];
  for (std::size_t n = 1; n < tokens.size(); ++n) near += "." + tokens[n];
  try {
    (void)Parse(near, false);
  } catch (const Refusal&) {
    return "";
  }
  return " (" + near + "?)";
}

// What key names, as "turnCount", "smallValues.2", "units.7.level", "items.*"
// or "items.3.count" do; a key that names no value is refused with the one
// near it that does, when hinted.
Named Parse(const std::string& key, bool hinted) {
  std::vector<std::string> tokens;
  for (std::size_t start = 0; start <= key.size();) {
    const std::size_t end = std::min(key.find('.', start), key.size());
    tokens.push_back(key.substr(start, end - start));
    start = end + 1;
  }
  const auto none = [&] { return "names no value" + (hinted ? Hint(tokens) : ""); };
  const EntryList* list = nullptr;
  for (const EntryList& entries : EntryLists)
    if (tokens[0] == entries.key) list = &entries;
  Named named = {list ? list->firstRow : 0, 0};
  while (!list && named.row < FirstListedRow && tokens[0] != GameValues[named.row].key) ++named.row;
  if (!list && named.row == FirstListedRow) Refuse(key, none());
  const int count = GameValues[named.row].count;
  std::size_t next = 1;  // the token to read
  if (count > 1 && tokens.size() > next)
    named.index = IndexOf(tokens[next++], tokens[0], count, key);
  if (named.index == NoIndex) Refuse(key, none());
  if (list && tokens.size() > next) {  // and then the value's key in the entry
    int row = list->firstRow;
    while (row < list->firstRow + list->rows && tokens[next] != FieldKey(*list, row)) ++row;
    if (row < list->firstRow + list->rows) ++next;
    named.row = row;
  }
  const bool indexed = count == 1 || next >= 2;
  const bool inEntry = !list || list->rows == 1 || next == 3;  // a unit's value names its key
  if (!indexed || !inEntry || tokens.size() != next || named.row >= GameValueCount)
    Refuse(key, none());
  return named;
}

// The one value of JSON text, or why it is none.
struct ScalarReader : ScalarSax {
  bool start_object(std::size_t /*size*/) override { return Value({Scalar::Other, false, ""}); }
  bool end_object() override { return true; }
  bool start_array(std::size_t /*size*/) override { return Value({Scalar::Other, false, ""}); }
  bool end_array() override { return true; }
  bool key(string_t& /*key*/) override { return true; }
  bool parse_error(std::size_t /*position*/, const std::string& /*token*/,
                   const Json::exception& /*error*/) override {
    return false;
  }
  bool Value(const Scalar& value) override {
    if (!read) scalar = value;
    read = true;
    return true;
  }
  Scalar scalar = {Scalar::Other, false, ""};
  bool read = false;
};

}  // namespace

std::string SettableKeys() {
  // A key and the indices it takes, lined up.
  const auto line = [](const std::string& key, int count) {
    const std::string indices = "N from 0 to " + std::to_string(count - 1);
    return "  " + key +
           (count > 1
                ? std::string(std::max<std::size_t>(16, key.size() + 1) - key.size(), ' ') + indices
                : "") +
           "\n";
  };
  std::string text = "KEY names a value as the document does, * standing for every index:\n";
  for (int row = 0; row < FirstListedRow; ++row) {
    const int count = GameValues[row].count;
    text += line(GameValues[row].key + std::string(count > 1 ? ".N" : ""), count);
  }
  for (const EntryList& list : EntryLists)
    text += line(list.key + std::string(list.rows > 1 ? ".N.FIELD" : ".N"),
                 GameValues[list.firstRow].count);
  text += "  FIELD one of:";
  for (int r = 0; r < StatCount; ++r)
    text += (r % 8 == 0 ? "\n    " : " ") + std::string(GameValues[StatValue(r)].key);
  return text +
         "\nVALUE is what the document holds there: a whole number, or true or false for\n"
         "ended; set refuses what import refuses. The settings are taken in order, so of a\n"
         "* key and a key with an index it covers, the later wins; a key given twice is refused.";
}

void ApplySettings(const std::vector<std::string>& settings, const GameStateData& original,
                   GameStateData& edited) {
  std::set<std::pair<int, int>> given;
  for (const std::string& setting : settings) {
    const std::size_t equals = setting.find('=');
    if (equals == std::string::npos) Refuse(setting, "must be KEY=VALUE");
    const std::string key = setting.substr(0, equals);
    const Named named = Parse(key);
    // units.07.level names what units.7.level names.
    if (!given.insert({named.row, named.index}).second) Refuse(key, "given twice");
    ScalarReader value;
    if (!Json::sax_parse(setting.substr(equals + 1), &value))
      Refuse(setting, "the value must be a number, true or false");
    const int count = GameValues[named.row].count;
    const int end = named.index < 0 ? count : named.index + 1;
    for (int n = named.index < 0 ? 0 : named.index; n < end; ++n)
      ValueWords(&edited, named.row)[n] =
          Checked(value.scalar, key, named.row, ValueWords(&original, named.row)[n]);
  }
}
