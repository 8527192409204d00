// Decimal text of the numeric fields: the number steps of a commit, and formatting.
#include "controls/numtext.h"

namespace {

const std::int64_t Int32Min = -2147483647 - 1;
const std::int64_t Int32Max = 2147483647;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// Parses a field's text and holds the number to min..max.
NumberCommit CommitNumberText(const char* text, std::int32_t min, std::int32_t max) {
  int length = 0;
  while (length < NumberTextMax && text[length] != '\0') ++length;
  if (length == 0) return {min, false};

  int i = 0;
  while (i < length && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < length && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i == length || !IsDigit(text[i])) return {min, true};

  // Digits beyond the signed 32-bit range saturate to the nearer 32-bit
  // limit; the magnitude stops growing once it is past 2^31, so it cannot
  // overflow whatever the number of digits.
  std::int64_t magnitude = 0;
  while (i < length && IsDigit(text[i])) {
    if (magnitude <= Int32Max + 1) magnitude = magnitude * 10 + (text[i] - '0');
    ++i;
  }
  std::int64_t number = negative ? -magnitude : magnitude;
  if (number < Int32Min) number = Int32Min;
  if (number > Int32Max) number = Int32Max;
  std::int32_t value = static_cast<std::int32_t>(number);

  // Anything after the digits, trailing blanks included, asks for the clean
  // text; the range is then left to the commit that the rewrite raises.
  if (i < length) return {value, true};
  if (value < min) return {min, true};
  if (value > max) return {max, true};
  return {value, false};
}

// Writes the "%ld" form of value: a minus sign for negatives, nothing else.
void FormatNumber(std::int32_t value, char* buffer) {
  char digits[10];
  int count = 0;
  // Work on the non-positive side, which holds the 32-bit minimum too.
  std::int32_t rest = value > 0 ? -value : value;
  do {
    digits[count++] = static_cast<char>('0' - rest % 10);
    rest /= 10;
  } while (rest != 0);
  if (value < 0) *buffer++ = '-';
  while (count > 0) *buffer++ = digits[--count];
  *buffer = '\0';
}
