// The values of a save file as a JSON document ("asd-values/1"): made from
// the values, and checked into the values, as are set's KEY=VALUE settings.
#ifndef ASDEDIT_TOOLS_ASDTOOL_DOCUMENT_H
#define ASDEDIT_TOOLS_ASDTOOL_DOCUMENT_H

#include <string>
#include <vector>

#include "editor/savefile.h"
#include "jsontext.h"

// Every value of state as a document.
Json Document(const GameStateData& state);

// The keys set takes, each with the indices it takes, for its help.
std::string SettableKeys();

// Checks every value doc names against the file's values (original) and puts
// them into edited; refuses the document at its first fault.
void Apply(const Json& doc, const GameStateData& original, GameStateData& edited);

// The same for set's KEY=VALUE settings, in order, each value checked as the
// same value in a document is; refuses a key given twice.
void ApplySettings(const std::vector<std::string>& settings, const GameStateData& original,
                   GameStateData& edited);

#endif
