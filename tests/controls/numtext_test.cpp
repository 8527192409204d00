#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "controls/numtext.h"

namespace {

struct Case {
  const char* text;
  std::int32_t value;
  bool rewrite;
};

void ExpectCommits(std::int32_t min, std::int32_t max, const Case* cases, int count) {
  for (int i = 0; i < count; ++i) {
    NumberCommit result = CommitNumberText(cases[i].text, min, max);
    EXPECT_EQ(cases[i].value, result.value) << "'" << cases[i].text << "'";
    EXPECT_EQ(cases[i].rewrite, result.rewrite) << "'" << cases[i].text << "'";
  }
}

std::string Format(std::int32_t value) {
  char buffer[12];
  FormatNumber(value, buffer);
  return buffer;
}

}  // namespace

TEST(CommitNumberText, ShortRangeCases) {
  const Case cases[] = {
      {"2", 2, false},    {"5", 3, true},     {"", 0, false},     {"abc", 0, true},
      {"-", 0, true},     {"+", 0, true},     {"   ", 0, true},   {" 2", 2, false},
      {"\t\n\v\f\r2", 2, false},              {"2 ", 2, true},    {"2x", 2, true},
      {"9x", 9, true},    {"+2", 2, false},   {"002", 2, false},  {"-1", 0, true},
      {"3", 3, false},    {"0", 0, false},    {"4", 3, true},     {"x2", 0, true},
      {"+-2", 0, true},   {"- 2", 0, true},   {"-0", 0, false},
  };
  ExpectCommits(0, 3, cases, sizeof cases / sizeof cases[0]);
}

TEST(CommitNumberText, SignedRangeCases) {
  const Case cases[] = {
      {"-", -10, true}, {"", -10, false}, {"-11", -10, true}, {"-10", -10, false},
      {"10", 10, false}, {"11", 10, true}, {"-5x", -5, true}, {"-99x", -99, true},
  };
  ExpectCommits(-10, 10, cases, sizeof cases / sizeof cases[0]);
}

// The range test is made on 32 bits, before any 16-bit store.
TEST(CommitNumberText, WideRangesCompareOn32Bits) {
  const Case wide[] = {{"65535", 65535, false}, {"65536", 65535, true}, {"4294967295", 65535, true}};
  ExpectCommits(0, 65535, wide, sizeof wide / sizeof wide[0]);
  const Case wider[] = {{"70000", 70000, false}, {"-70000", -70000, false}};
  ExpectCommits(-100000, 100000, wider, sizeof wider / sizeof wider[0]);
}

TEST(CommitNumberText, OutOfRangeDigitsSaturate) {
  const std::int32_t Max = 2147483647;
  const std::int32_t Min = -Max - 1;
  const Case cases[] = {
      {"2147483647", Max, false},   {"2147483648", Max, false},  {"99999999999999999999", Max, false},
      {"-2147483648", Min, false},  {"-2147483649", Min, false}, {"-99999999999999999999", Min, false},
      {"99999999999x", Max, true},  {"-99999999999x", Min, true},
  };
  ExpectCommits(Min, Max, cases, sizeof cases / sizeof cases[0]);
  EXPECT_EQ(65535, CommitNumberText("1234567890123456789012345678901234567890", 0, 65535).value);
}

// Only the first 31 bytes are read: what follows them is never seen.
TEST(CommitNumberText, ReadsAtMost31Bytes) {
  std::string zeros(31, '0');
  NumberCommit beyond = CommitNumberText((zeros + "777777777").c_str(), 0, 3);
  EXPECT_EQ(0, beyond.value);
  EXPECT_FALSE(beyond.rewrite);
  NumberCommit unseen = CommitNumberText((std::string(30, '0') + "2x").c_str(), 0, 3);
  EXPECT_EQ(2, unseen.value);
  EXPECT_FALSE(unseen.rewrite);
  NumberCommit seen = CommitNumberText((std::string(29, '0') + "2x").c_str(), 0, 3);
  EXPECT_EQ(2, seen.value);
  EXPECT_TRUE(seen.rewrite);
  NumberCommit blanks = CommitNumberText((std::string(31, ' ') + "2").c_str(), 0, 3);
  EXPECT_EQ(0, blanks.value);
  EXPECT_TRUE(blanks.rewrite);
}

TEST(FormatNumber, WritesPlainSignedDecimal) {
  EXPECT_EQ("0", Format(0));
  EXPECT_EQ("7", Format(7));
  EXPECT_EQ("65535", Format(65535));
  EXPECT_EQ("-10", Format(-10));
  EXPECT_EQ("2147483647", Format(2147483647));
  EXPECT_EQ("-2147483648", Format(-2147483647 - 1));
}

// A rewritten text always commits back to the value it was written from, held
// to the range: the nested commit after a rewrite settles at once.
TEST(FormatNumber, RewrittenTextCommitsBack) {
  const std::int32_t values[] = {0, 3, 9, -1, -10, 65535, 2147483647, -2147483647 - 1};
  for (std::int32_t v : values) {
    char text[12];
    FormatNumber(v, text);
    NumberCommit result = CommitNumberText(text, -2147483647 - 1, 2147483647);
    EXPECT_EQ(v, result.value) << text;
    EXPECT_FALSE(result.rewrite) << text;
  }
}
