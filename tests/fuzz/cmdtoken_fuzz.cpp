// Fuzzing the command-line tokenizer against a character-by-character model
// of the splitting rules. Input: the command line (cut at its first NUL).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/cmdtoken.h"

namespace {

struct Token {
  std::string text;
  bool quoted;
  bool operator==(const Token& other) const { return text == other.text && quoted == other.quoted; }
};

// The rules as a state machine: only the blank separates; a quote at the
// start of an argument runs to the next quote, and what follows it starts
// the next argument; a quote inside a word is a character; an unclosed quote
// ends the line and is dropped with the rest.
std::vector<Token> ModelTokens(const std::string& line) {
  enum { Between, InWord, InQuote } state = Between;
  std::vector<Token> tokens;
  std::string text;
  for (char c : line) {
    switch (state) {
      case Between:
        if (c == ' ') break;
        text.clear();
        if (c == '"') {
          state = InQuote;
        } else {
          text += c;
          state = InWord;
        }
        break;
      case InWord:
        if (c == ' ') {
          tokens.push_back({text, false});
          state = Between;
        } else {
          text += c;
        }
        break;
      case InQuote:
        if (c == '"') {
          tokens.push_back({text, true});
          state = Between;
        } else {
          text += c;
        }
        break;
    }
  }
  if (state == InWord) tokens.push_back({text, false});
  return tokens;
}

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "cmdtoken_fuzz: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A heap copy of exactly the line and its terminator: any read past it is caught.
  std::size_t length = strnlen(reinterpret_cast<const char*>(data), size);
  std::vector<char> line(data, data + length);
  line.push_back('\0');

  std::vector<Token> tokens;
  std::size_t cursor = 0;
  CommandToken token;
  while (NextCommandToken(line.data(), &cursor, &token)) {
    Check(cursor <= length, "cursor past the end of the line");
    Check(token.start <= length && token.length <= length - token.start, "argument outside the line");
    Check(tokens.size() <= length, "more arguments than characters");
    tokens.push_back({std::string(line.data() + token.start, token.length), token.quoted});
  }
  Check(cursor <= length, "cursor past the end of the line");
  Check(tokens == ModelTokens(std::string(line.data(), length)), "arguments differ from the model");
  return 0;
}
