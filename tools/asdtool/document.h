// The values of a save file as a JSON document ("asd-values/1"): written from
// the values (export) and read into them (import), and set's KEY=VALUE
// settings, which name and check a value as the document does. Keys, ranges
// and kinds all come from the game's list of values (GameValues).
#ifndef ASDEDIT_TOOLS_ASDTOOL_DOCUMENT_H
#define ASDEDIT_TOOLS_ASDTOOL_DOCUMENT_H

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/savefile.h"

// Keys in a fixed order, names in UTF-8.
using Json = nlohmann::ordered_json;

// The value of the document's "format".
extern const char DocumentFormat[];

// Why a document or a setting is refused: the place of the value at fault and the reason.
struct Refusal {
  std::string text;
};
[[noreturn]] void Refuse(const std::string& place, const std::string& why);

// A value as JSON text gives it, to be checked where it is read.
struct Scalar {
  enum Kind { Whole, Truth, Other } kind;  // Other: a fraction, a text, null, an array, an object
  bool truth;                              // Truth: true or false
  std::string text;                        // Whole: its digits, however many; Other: a text's own
};

// nlohmann's SAX interface, every value that is no array or object given to
// Value as a Scalar.
class ScalarSax : public nlohmann::json_sax<Json> {
public:
  bool null() override;
  bool boolean(bool value) override;
  bool number_integer(number_integer_t value) override;
  bool number_unsigned(number_unsigned_t value) override;
  bool number_float(number_float_t value, const string_t& text) override;
  bool string(string_t& value) override;
  bool binary(binary_t& value) override;

protected:
  virtual bool Value(const Scalar& scalar) = 0;
};

// The word for state's value of GameValues row at place, as scalar gives it:
// refused when it is of the wrong kind, or outside the row's range and not
// the file's value (a value equal to the file's is always taken).
std::uint16_t Checked(const Scalar& scalar, const std::string& place, int row,
                      std::uint16_t current);

// The rows of GameValues before this one stand outside the lists of a
// document: the turn count and the small values.
const int FirstListedRow = ItemCountersValue;

// The lists of entries of a document, each entry numbered by its idKey: the
// item counters, the monster counters, the units. An entry holds the values
// of rows GameValues rows from firstRow on; a counter's is its "count".
struct EntryList {
  const char* key;
  const char* idKey;
  int firstRow;
  int rows;
};
extern const EntryList EntryLists[3];
// The key of row's value in an entry of list.
const char* FieldKey(const EntryList& list, int row);

// The keys of the document itself, and those of an entry of list.
std::vector<std::string> DocumentKeys();
std::vector<std::string> EntryKeys(const EntryList& list);
// The key of known nearest to key, "" when none is near: one that differs
// only in letter case, or besides by one letter added, dropped or changed,
// or two adjacent letters swapped.
std::string NearestKey(const std::string& key, const std::vector<std::string>& known);

// Every value of state as a document.
Json Document(const GameStateData& state);

// Reads the document text, checking each value against the file's values
// (original) where it is read and putting it into edited; refuses the
// document at its first fault in reading order. Invalid JSON throws
// nlohmann's exception, which names the line and column.
void ReadDocument(const std::string& text, const GameStateData& original, GameStateData& edited);

// The keys set takes, each with the indices it takes, for its help.
std::string SettableKeys();

// The same for set's KEY=VALUE settings, in order, each value checked as the
// same value in a document is; refuses a key given twice.
void ApplySettings(const std::vector<std::string>& settings, const GameStateData& original,
                   GameStateData& edited);

#endif
