// The number steps of a numeric field: what a text stores, and whether the
// field's text is then rewritten.
#include <gtest/gtest.h>

#include <string>

#include "controls/numtext.h"

TEST(NumberText, CommitsHeldToTheRangeAndFormatsBack) {
  const std::string digits40(40, '9'), zeros31(std::string(31, '0') + "77");
  struct Case {
    const char* text;
    std::int32_t min, max, value;
    bool rewrite;
    // clang-format off
  } cases[] = {
      {"2", 0, 3, 2, false},     {"5", 0, 3, 3, true},     {"", 0, 3, 0, false},
      {"abc", 0, 3, 0, true},    {"-", 0, 3, 0, true},     {"+", 0, 3, 0, true},
      {"   ", 0, 3, 0, true},    {" \t2", 0, 3, 2, false}, {"2 ", 0, 3, 2, true},
      {"2x", 0, 3, 2, true},     {"9x", 0, 3, 9, true},    {"+2", 0, 3, 2, false},
      {"002", 0, 3, 2, false},   {"-1", 0, 3, 0, true},    {"0", 1, 65535, 1, true},
      {"-", -10, 10, -10, true}, {"", -10, 10, -10, false}, {"-11", -10, 10, -10, true},
      {"65536", 0, 65535, 65535, true}, {"70000", 0, 100000, 70000, false},
      {"4294967296", -5, 2147483647, 2147483647, false}, {"-9999999999", -5, 5, -5, true},
      {digits40.c_str(), 0, 65535, 65535, true},
      {zeros31.c_str(), 0, 65535, 0, false},  // only the first 31 bytes are read
  };
  // clang-format on
  for (const Case& c : cases) {
    NumberCommit result = CommitNumberText(c.text, c.min, c.max);
    EXPECT_EQ(c.value, result.value) << "'" << c.text << "' in " << c.min << ".." << c.max;
    EXPECT_EQ(c.rewrite, result.rewrite) << "'" << c.text << "' in " << c.min << ".." << c.max;
  }
  for (std::int32_t value : {0, 7, -42, 65535, 2147483647, -2147483647 - 1}) {
    char text[NumberTextMax + 1];
    FormatNumber(value, text);
    EXPECT_EQ(std::to_string(value), text);
  }
}
