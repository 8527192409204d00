// Tokenizing of a command line: blank-separated arguments and double quotes.
// Standard C++ only, so it builds and is exercised on any platform.
#ifndef ASDEDIT_APP_CMDTOKEN_H
#define ASDEDIT_APP_CMDTOKEN_H

#include <cstddef>

// One argument found in a command line: its text is line[start, start + length).
struct CommandToken {
  std::size_t start;
  std::size_t length;
  bool quoted;  // written between double quotes: taken literally, never expanded
};

// Reads the argument that begins at or after *cursor in the NUL-terminated line
// and moves *cursor past it. Returns false at the end of the line and at a quote
// that is never closed (the rest of the line then yields nothing).
bool NextCommandToken(const char* line, std::size_t* cursor, CommandToken* token);

#endif
