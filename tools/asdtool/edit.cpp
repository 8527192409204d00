// export, import and set: the values as a JSON document, and changes to a
// save file by a document or by KEY=VALUE.
#include <cstring>
#include <string>
#include <vector>

#include "commands.h"
#include "document.h"
#include "files.h"
#include "messages.h"

namespace {

// Checks the values edit puts into a copy of the save file's values at path
// and, when every one is taken, writes the file; a refusal is reported as
// coming from label.
template <typename Edit>
int EditSaveFile(const char* path, const std::string& label, Edit edit) {
  GameStateData original;
  const int code = Load(path, &original);
  if (code != ExitOk) return code;
  GameStateData edited = original;
  try {
    edit(original, edited);
  } catch (const Refusal& refusal) {
    return Fail(label, refusal.text, ExitRefused);
  } catch (const Json::exception& error) {
    // Invalid JSON: "[json.exception.parse_error.101] parse error at line 3, column 1: ..."
    const char* why = std::strstr(error.what(), "] ");
    return Fail(label, why ? why + 2 : error.what(), ExitRefused);
  }
  return Store(path, edited);
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
  return EditSaveFile(path, label, [&](const GameStateData& original, GameStateData& edited) {
    ReadDocument(text, original, edited);
  });
}

int SetCommand(const char* path, const std::vector<std::string>& settings) {
  return EditSaveFile(path, path, [&](const GameStateData& original, GameStateData& edited) {
    ApplySettings(settings, original, edited);
  });
}
