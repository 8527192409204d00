// Tokenizing a command line: separators, quotes and where tokenizing stops.
#include "app/cmdtoken.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The arguments of line; a quoted one is shown with its quotes around it.
std::vector<std::string> Tokens(const char* line) {
  std::vector<std::string> tokens;
  std::size_t cursor = 0;
  CommandToken token;
  while (NextCommandToken(line, &cursor, &token)) {
    std::string text(line + token.start, token.length);
    tokens.push_back(token.quoted ? "\"" + text + "\"" : text);
  }
  return tokens;
}

using Args = std::vector<std::string>;

TEST(CommandTokens, BlanksSeparateButTabsDoNot) {
  EXPECT_EQ(Tokens("a   b"), (Args{"a", "b"}));
  EXPECT_EQ(Tokens("   a b   "), (Args{"a", "b"}));
  EXPECT_EQ(Tokens("a\tb c"), (Args{"a\tb", "c"}));
  EXPECT_EQ(Tokens(""), Args{});
  EXPECT_EQ(Tokens("    "), Args{});
}

TEST(CommandTokens, QuotesDelimitOnlyAtTheStartOfAnArgument) {
  EXPECT_EQ(Tokens("\"\" x"), (Args{"\"\"", "x"}));
  EXPECT_EQ(Tokens("\"a b\"c d"), (Args{"\"a b\"", "c", "d"}));
  EXPECT_EQ(Tokens("\"a\"\"b\""), (Args{"\"a\"", "\"b\""}));
  EXPECT_EQ(Tokens("ab\"cd e\""), (Args{"ab\"cd", "e\""}));
  EXPECT_EQ(Tokens("\"*.asd\""), (Args{"\"*.asd\""}));
}

TEST(CommandTokens, UnclosedQuoteEndsTheLine) {
  EXPECT_EQ(Tokens("a b \"c d e"), (Args{"a", "b"}));
  EXPECT_EQ(Tokens("\"a"), Args{});
  EXPECT_EQ(Tokens("a\""), (Args{"a\""}));

  // The cursor stays at the end, so asking again finds nothing more.
  const char* line = "x \"y";
  std::size_t cursor = 0;
  CommandToken token;
  ASSERT_TRUE(NextCommandToken(line, &cursor, &token));
  EXPECT_FALSE(NextCommandToken(line, &cursor, &token));
  EXPECT_FALSE(NextCommandToken(line, &cursor, &token));
}

}  // namespace
