// The document's values: what a value may be, and the document of a save file.
#include "document.h"

#include <utility>

#include "editor/texts.h"  // in UTF-8 here

const char DocumentFormat[] = "asd-values/1";

const EntryList EntryLists[3] = {
    {"items", "index", ItemCountersValue, 1},
    {"monsters", "index", MonsterCountersValue, 1},
    {"units", "unit", LevelValue, StatCount},
};

const char* FieldKey(const EntryList& list, int row) {
  return list.rows == 1 ? "count" : GameValues[row].key;
}

namespace {

std::string Range(const GameValue& value) {
  return std::to_string(value.low) + " to " + std::to_string(value.high);
}

// Entry n of list, named as the editor names it, with its values in values.
Json Entry(const EntryList& list, int n, const GameStateData& values) {
  const bool units = list.rows > 1;
  const int counter = list.firstRow == MonsterCountersValue ? ItemCounterCount + n : n;
  Json entry = {{list.idKey, n}, {"name", units ? UnitName(n) : ItemLabels[counter]}};
  for (int row = list.firstRow; row < list.firstRow + list.rows; ++row) {
    const std::uint16_t word = ValueWords(&values, row)[n];
    if (GameValues[row].kind == FlagValue)
      entry[FieldKey(list, row)] = word != 0;
    else
      entry[FieldKey(list, row)] = word;
  }
  return entry;
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// Whether a and b, in the same case, differ by at most one letter added,
// dropped or changed, or two adjacent letters swapped.
bool Near(std::string a, std::string b) {
  a = Lower(a);
  b = Lower(b);
  if (a.size() > b.size()) std::swap(a, b);
  if (b.size() - a.size() > 1) return false;
  std::size_t i = 0;  // the first letter that differs
  while (i < a.size() && a[i] == b[i]) ++i;
  if (a.size() < b.size()) return a.compare(i, a.npos, b, i + 1, b.npos) == 0;
  if (i == a.size() || a.compare(i + 1, a.npos, b, i + 1, b.npos) == 0) return true;
  return i + 1 < a.size() && a[i] == b[i + 1] && a[i + 1] == b[i] &&
         a.compare(i + 2, a.npos, b, i + 2, b.npos) == 0;
}

}  // namespace

std::vector<std::string> DocumentKeys() {
  std::vector<std::string> keys = {"format"};
  for (int row = 0; row < FirstListedRow; ++row) keys.emplace_back(GameValues[row].key);
  for (const EntryList& list : EntryLists) keys.emplace_back(list.key);
  return keys;
}

std::vector<std::string> EntryKeys(const EntryList& list) {
  std::vector<std::string> keys = {list.idKey, "name"};
  for (int row = list.firstRow; row < list.firstRow + list.rows; ++row)
    keys.emplace_back(FieldKey(list, row));
  return keys;
}

std::string NearestKey(const std::string& key, const std::vector<std::string>& known) {
  // A key in another case first, then one a letter away.
  for (const std::string& candidate : known)
    if (Lower(candidate) == Lower(key)) return candidate;
  for (const std::string& candidate : known)
    if (!key.empty() && Near(key, candidate)) return candidate;
  return "";
}

void Refuse(const std::string& place, const std::string& why) { throw Refusal{place + ": " + why}; }

bool ScalarSax::null() { return Value({Scalar::Other, false, "null"}); }
bool ScalarSax::boolean(bool value) { return Value({Scalar::Truth, value, ""}); }
bool ScalarSax::number_integer(number_integer_t value) {
  return Value({Scalar::Whole, false, std::to_string(value)});
}
bool ScalarSax::number_unsigned(number_unsigned_t value) {
  return Value({Scalar::Whole, false, std::to_string(value)});
}
// A number too wide for 64 bits keeps its digits; one with a fraction or an
// exponent is no whole number.
bool ScalarSax::number_float(number_float_t /*value*/, const string_t& text) {
  const std::size_t sign = text[0] == '-' ? 1 : 0;
  const bool whole = text.find_first_not_of("0123456789", sign) == std::string::npos;
  return Value({whole ? Scalar::Whole : Scalar::Other, false, text});
}
bool ScalarSax::string(string_t& value) { return Value({Scalar::Other, false, value}); }
bool ScalarSax::binary(binary_t& /*value*/) { return Value({Scalar::Other, false, ""}); }

std::uint16_t Checked(const Scalar& scalar, const std::string& place, int row,
                      std::uint16_t current) {
  const GameValue& value = GameValues[row];
  if (value.kind == FlagValue) {
    if (scalar.kind != Scalar::Truth) Refuse(place, "must be true or false");
    return scalar.truth ? 1 : 0;
  }
  if (scalar.kind != Scalar::Whole) Refuse(place, "must be a whole number");
  const std::string& digits = scalar.text;
  if (digits == std::to_string(current)) return current;
  // No word holds more than five digits, nor a sign.
  const unsigned long number = digits.size() <= 5 && digits[0] != '-' ? std::stoul(digits) : 0;
  if (digits.size() > 5 || digits[0] == '-' || number < value.low || number > value.high)
    Refuse(place, digits + " is outside " + Range(value));
  return static_cast<std::uint16_t>(number);
}

Json Document(const GameStateData& state) {
  Json doc;
  doc["format"] = DocumentFormat;
  for (int row = 0; row < FirstListedRow; ++row) {
    const std::uint16_t* words = ValueWords(&state, row);
    Json& value = doc[GameValues[row].key];
    if (GameValues[row].count == 1) value = words[0];
    for (int n = 0; GameValues[row].count > 1 && n < GameValues[row].count; ++n)
      value.push_back(words[n]);
  }
  for (const EntryList& list : EntryLists)
    for (int n = 0; n < GameValues[list.firstRow].count; ++n)
      doc[list.key].push_back(Entry(list, n, state));
  return doc;
}
