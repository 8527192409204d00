// Tokenizing a command line: blanks, double quotes and unclosed quotes.
#include "app/cmdtoken.h"

// Only the blank separates arguments; a tab is part of an argument.
bool NextCommandToken(const char* line, std::size_t* cursor, CommandToken* token) {
  std::size_t at = *cursor;
  while (line[at] == ' ') ++at;
  if (line[at] == '\0') {
    *cursor = at;
    return false;
  }
  if (line[at] == '"') {
    std::size_t end = at + 1;
    while (line[end] != '\0' && line[end] != '"') ++end;
    if (line[end] == '\0') {
      *cursor = end;
      return false;
    }
    // The character after the closing quote starts the next argument.
    *token = CommandToken{at + 1, end - at - 1, true};
    *cursor = end + 1;
    return true;
  }
  // Quotes inside an unquoted argument are ordinary characters.
  std::size_t end = at;
  while (line[end] != '\0' && line[end] != ' ') ++end;
  *token = CommandToken{at, end - at, false};
  *cursor = line[end] == ' ' ? end + 1 : end;
  return true;
}
