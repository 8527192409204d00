// Tokenizing a command line: blanks, quotes and where tokenizing stops.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cmdtoken.h"

TEST(CommandTokens, BlanksSeparateQuotesHoldAndAnUnclosedQuoteEnds) {
  struct Case {
    const char* line;
    std::vector<std::string> tokens;  // a quoted one with its quotes
  } cases[] = {
      {"  a   b  ", {"a", "b"}},          {"a\tb c", {"a\tb", "c"}},
      {"\"\" x", {"\"\"", "x"}},          {"\"a b\"c d", {"\"a b\"", "c", "d"}},
      {"ab\"cd e\"", {"ab\"cd", "e\""}},  {"\"*.asd\"", {"\"*.asd\""}},
      {"a b \"c d e", {"a", "b"}},        {"\"a", {}},
      {"", {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> tokens;
    std::size_t cursor = 0;
    CommandToken token;
    while (NextCommandToken(c.line, &cursor, &token)) {
      std::string text(c.line + token.start, token.length);
      tokens.push_back(token.quoted ? "\"" + text + "\"" : text);
    }
    EXPECT_EQ(c.tokens, tokens) << c.line;
    EXPECT_FALSE(NextCommandToken(c.line, &cursor, &token)) << c.line;  // and stays at the end
  }
}
