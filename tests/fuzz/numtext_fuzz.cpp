// Fuzzing the number steps of a commit, and the decimal text they write back,
// against a plain model of the rules.
//
// Input: byte 0 below 0x80 picks one of the editor's ranges; from 0x80 up,
// bytes 1-8 give min and max (little-endian). The rest, up to a NUL, is the
// field's text.
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "controls/numtext.h"

namespace {

struct Range {
  std::int32_t min, max;
};
const Range Ranges[] = {
    {0, 3}, {0, 9}, {0, 4}, {1, 65535}, {0, 65535}, {-10, 10}, {INT32_MIN, INT32_MAX}, {0, 0}, {5, 1},
};

// Digits (no sign, leading zeros allowed) as a signed 32-bit number, held to
// the nearer 32-bit limit when they lie beyond it.
std::int32_t ModelNumber(std::string digits, bool negative) {
  while (digits.size() > 1 && digits[0] == '0') digits.erase(0, 1);
  const std::string limit = negative ? "2147483648" : "2147483647";
  if (digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit))
    return negative ? INT32_MIN : INT32_MAX;
  long long value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return static_cast<std::int32_t>(negative ? -value : value);
}

NumberCommit ModelCommit(const std::string& text, std::int32_t min, std::int32_t max) {
  const std::string t = text.substr(0, 31);
  if (t.empty()) return {min, false};
  std::size_t at = 0;
  while (at < t.size() && std::string(" \t\n\v\f\r").find(t[at]) != std::string::npos) ++at;
  bool negative = false;
  if (at < t.size() && (t[at] == '+' || t[at] == '-')) negative = t[at++] == '-';
  std::size_t digits = at;
  while (at < t.size() && t[at] >= '0' && t[at] <= '9') ++at;
  if (at == digits) return {min, true};
  std::int32_t value = ModelNumber(t.substr(digits, at - digits), negative);
  if (at < t.size()) return {value, true};
  if (value < min) return {min, true};
  if (value > max) return {max, true};
  return {value, false};
}

void Check(bool ok, const char* what, const std::string& text) {
  if (ok) return;
  std::fprintf(stderr, "numtext_fuzz: %s for the text \"%s\"\n", what, text.c_str());
  std::abort();
}

// Commits text given in a heap block of exactly its bytes and terminator, or
// of exactly 31 bytes without a terminator when it is longer: a read beyond
// what the commit may look at is caught.
NumberCommit Commit(const std::string& text, std::int32_t min, std::int32_t max) {
  std::vector<char> field;
  if (text.size() >= 31) {
    field.assign(text.begin(), text.begin() + 31);
  } else {
    field.assign(text.begin(), text.end());
    field.push_back('\0');
  }
  return CommitNumberText(field.data(), min, max);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  Range range = Ranges[data[0] % (sizeof Ranges / sizeof Ranges[0])];
  std::size_t at = 1;
  if (data[0] >= 0x80) {
    if (size < 9) return 0;
    std::uint32_t min = 0, max = 0;
    for (int i = 3; i >= 0; --i) min = (min << 8) | data[1 + i];
    for (int i = 3; i >= 0; --i) max = (max << 8) | data[5 + i];
    range = {static_cast<std::int32_t>(min), static_cast<std::int32_t>(max)};
    at = 9;
  }
  const char* rest = reinterpret_cast<const char*>(data + at);
  const std::string text(rest, strnlen(rest, size - at));

  NumberCommit got = Commit(text, range.min, range.max);
  NumberCommit want = ModelCommit(text, range.min, range.max);
  Check(got.value == want.value, "stored value differs from the model", text);
  Check(got.rewrite == want.rewrite, "rewrite differs from the model", text);

  // The rewrite text: "%ld" form, within 12 bytes, and committed back it
  // gives what the model says (the nested commit of the field).
  std::vector<char> buffer(12, 'x');
  FormatNumber(got.value, buffer.data());
  char expected[32];
  std::snprintf(expected, sizeof expected, "%" PRId32, got.value);
  Check(std::memchr(buffer.data(), '\0', buffer.size()) && std::strcmp(buffer.data(), expected) == 0,
        "formatted text is not the decimal value", text);
  NumberCommit nested = Commit(buffer.data(), range.min, range.max);
  NumberCommit nestedWant = ModelCommit(buffer.data(), range.min, range.max);
  Check(nested.value == nestedWant.value && nested.rewrite == nestedWant.rewrite,
        "the rewritten text commits otherwise than the model", text);
  return 0;
}
