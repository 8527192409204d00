// Decimal text of the numeric edit fields: parsing with range limits, and
// formatting. Standard library only.
#ifndef ASDEDIT_CONTROLS_NUMTEXT_H
#define ASDEDIT_CONTROLS_NUMTEXT_H

#include <cstdint>

// At most this many bytes of a field's text are read.
const int NumberTextMax = 31;

struct NumberCommit {
  std::int32_t value;  // the value to store
  bool rewrite;        // whether the field's text must be replaced by FormatNumber(value)
};

// The number steps of a commit: text (at most NumberTextMax bytes are looked
// at) held to min..max. Empty text gives min and no rewrite; text without a
// number gives min and a rewrite; digits followed by anything give the number
// unchecked and a rewrite; a number alone is held to min..max, with a rewrite
// only when it was outside.
NumberCommit CommitNumberText(const char* text, std::int32_t min, std::int32_t max);

// Signed decimal text of value ("%ld" form) into buffer of at least 12 bytes.
void FormatNumber(std::int32_t value, char* buffer);

#endif
