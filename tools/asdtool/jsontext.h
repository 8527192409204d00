// JSON text as asdtool reads it, and why a document or a value is refused.
#ifndef ASDEDIT_TOOLS_ASDTOOL_JSONTEXT_H
#define ASDEDIT_TOOLS_ASDTOOL_JSONTEXT_H

#include <string>

#include <nlohmann/json.hpp>

// Keys in a fixed order, names in UTF-8.
using Json = nlohmann::ordered_json;

// Why a document is refused: the place of the value at fault and the reason.
struct Refusal {
  std::string text;
};
[[noreturn]] void Refuse(const std::string& place, const std::string& why);

// The JSON value text holds. Refuses a key repeated in one object, as a
// second entry for an index is; a whole number too wide for 64 bits is kept
// as its digits, in a binary value (which no JSON text gives), so that its
// check can say it is out of range. Invalid JSON throws nlohmann's exception,
// which names the line and column.
Json ReadJson(const std::string& text);

#endif
