// export, import and set: the values as a JSON document, and changes to a
// save file by a document or by KEY=VALUE.
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "commands.h"
#include "document.h"
#include "files.h"
#include "messages.h"

namespace {

// Checks the document of edit against the save file at path and, when every
// value is taken, writes the file; a refusal is reported as coming from label.
template <typename Edit>
int EditSaveFile(const char* path, const std::string& label, Edit edit) {
  GameStateData original;
  const int code = Load(path, &original);
  if (code != ExitOk) return code;
  GameStateData edited = original;
  try {
    Apply(edit(original), original, edited);
  } catch (const Refusal& refusal) {
    return Fail(label, refusal.text, ExitRefused);
  } catch (const Json::exception& error) {
    // Invalid JSON: "[json.exception.parse_error.101] parse error at line 3, column 1: ..."
    const char* why = std::strstr(error.what(), "] ");
    return Fail(label, why ? why + 2 : error.what(), ExitRefused);
  }
  return Store(path, edited);
}

// The keys of the document that name an entry, not a value of the file.
bool Settable(const std::string& key) {
  return key != "format" && key != "name" && key != "index" && key != "unit";
}

// The value pointer names in doc; null when there is none.
const Json* At(const Json& doc, const Json::json_pointer& pointer) {
  try {
    return doc.contains(pointer) ? &doc[pointer] : nullptr;
  } catch (const Json::exception&) {  // an index past what a number holds
    return nullptr;
  }
}

bool Names(const Json& doc, const Json::json_pointer& pointer) {
  return !pointer.empty() && Settable(pointer.back()) && At(doc, pointer);
}

// Refuses a token of key that is an index past the end of the list pointer
// names in doc, naming the list's indices.
void CheckIndex(const Json& doc, const Json::json_pointer& pointer, const std::string& token,
                const std::string& key) {
  const Json* list = At(doc, pointer);
  if (!list || !list->is_array() || list->empty() || pointer.empty() || token.empty() ||
      token.find_first_not_of("0123456789") != std::string::npos)
    return;
  if (token.size() < 10 && std::stoul(token) < list->size()) return;
  Refuse(key, pointer.back() + " are 0 to " + std::to_string(list->size() - 1));
}

// The JSON pointers a dotted key names in doc: "units.7.level" is
// /units/7/level, and * stands for every index of the array before it.
std::vector<Json::json_pointer> Pointers(const Json& doc, const std::string& key) {
  std::vector<Json::json_pointer> pointers = {Json::json_pointer()};
  for (std::size_t start = 0; start <= key.size();) {
    const std::size_t end = std::min(key.find('.', start), key.size());
    const std::string token = key.substr(start, end - start);
    start = end + 1;
    std::vector<Json::json_pointer> next;
    for (const Json::json_pointer& pointer : pointers) {
      if (token != "*") {
        CheckIndex(doc, pointer, token, key);
        next.push_back(pointer / token);
        continue;
      }
      const Json* list = At(doc, pointer);
      for (std::size_t i = 0; list && list->is_array() && i < list->size(); ++i)
        next.push_back(pointer / i);
    }
    pointers = next;
  }
  for (const Json::json_pointer& pointer : pointers)
    if (!Names(doc, pointer)) Refuse(key, "names no value");
  if (pointers.empty()) Refuse(key, "names no value");
  return pointers;
}

// Puts value at the place target names: a counter's count for a counter, a
// flag's true or false for 1 or 0.
void Put(Json& target, const std::string& key, const Json& value) {
  Json& place = target.is_object() && target.contains("count") ? target["count"] : target;
  if (place.is_structured()) Refuse(key, "names no single value");
  place = place.is_boolean() && (value == 0 || value == 1) ? Json(value == 1) : value;
}

// The document KEY=VALUE settings name: every value of the file, changed
// where a KEY names it.
Json SetDocument(const GameStateData& original, const std::vector<std::string>& settings) {
  Json doc = Document(original);
  for (const std::string& setting : settings) {
    const std::size_t equals = setting.find('=');
    if (equals == std::string::npos) Refuse(setting, "must be KEY=VALUE");
    const std::string key = setting.substr(0, equals);
    Json value;
    try {
      value = ReadJson(setting.substr(equals + 1));
    } catch (const Json::exception&) {
      Refuse(setting, "the value must be a number, true or false");
    }
    for (const Json::json_pointer& pointer : Pointers(doc, key)) Put(doc[pointer], key, value);
  }
  return doc;
}

}  // namespace

int ExportCommand(const char* path, const std::string& outPath, bool force) {
  GameStateData state;
  const int code = Load(path, &state);
  if (code != ExitOk) return code;
  const std::string text = Document(state).dump(2) + "\n";
  return outPath.empty() ? WriteOut(text) : WriteText(outPath.c_str(), text, force);
}

int ImportCommand(const char* path, const std::string& docPath) {
  std::string text;
  const int code = ReadText(docPath.c_str(), &text);
  if (code != ExitOk) return code;
  const std::string label = docPath == "-" ? "standard input" : docPath;
  return EditSaveFile(path, label, [&](const GameStateData&) { return ReadJson(text); });
}

int SetCommand(const char* path, const std::vector<std::string>& settings) {
  return EditSaveFile(
      path, path, [&](const GameStateData& original) { return SetDocument(original, settings); });
}
