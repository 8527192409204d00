// The values of a save file as a JSON document ("asd-values/1"): made from
// the values, read from text, and checked into the values.
#ifndef ASDEDIT_TOOLS_ASDTOOL_DOCUMENT_H
#define ASDEDIT_TOOLS_ASDTOOL_DOCUMENT_H

#include <string>

#include <nlohmann/json.hpp>

#include "editor/savefile.h"

// Keys in a fixed order, names in UTF-8.
using Json = nlohmann::ordered_json;

// Why a document is refused: the place of the value at fault and the reason.
struct Refusal {
  std::string text;
};
[[noreturn]] void Refuse(const std::string& place, const std::string& why);

// Every value of state as a document.
Json Document(const GameStateData& state);

// The JSON value text holds. Refuses a key repeated in one object, as a
// second entry for an index is; a whole number too wide for 64 bits is kept
// as its digits, in a binary value (which no JSON text gives), so that its
// check can say it is out of range. Invalid JSON throws nlohmann's exception,
// which names the line and column.
Json ReadJson(const std::string& text);

// The keys set takes, each with the indices it takes, for its help.
std::string SettableKeys();

// Checks every value doc names against the file's values (original) and puts
// them into edited; refuses the document at its first fault.
void Apply(const Json& doc, const GameStateData& original, GameStateData& edited);

#endif
