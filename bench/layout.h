// The layout of the editor's windows, as unitswitch_bench writes it and
// startfloor replays it, one line for each font, menu row and window:
//   F height width charset quality pitch face
//   M depth flags id text
//   W parent owner class style exStyle x y width height font text
// Every text (and face) is its UTF-16 units in hex, four digits each, after
// an "x": it replays exactly, and an empty text is still a word.
#ifndef ASDEDIT_BENCH_LAYOUT_H
#define ASDEDIT_BENCH_LAYOUT_H

#include <cstdio>
#include <string>

// text as a word of the layout.
inline std::string LayoutWord(const wchar_t* text) {
  std::string word = "x";
  char four[5];
  for (const wchar_t* unit = text; *unit; ++unit) {
    (void)std::snprintf(four, sizeof four, "%04X", static_cast<unsigned>(*unit) & 0xFFFFu);  // fits
    word += four;
  }
  return word;
}

// The value of a hex digit, or -1.
inline int LayoutDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The text of a word of the layout into text; false when word is none.
inline bool LayoutText(const char* word, std::wstring& text) {
  text.clear();
  if (*word++ != 'x') return false;
  for (; *word; word += 4) {
    unsigned unit = 0;
    for (int i = 0; i < 4; ++i) {
      int digit = LayoutDigit(word[i]);
      if (digit < 0) return false;
      unit = unit * 16 + static_cast<unsigned>(digit);
    }
    text += static_cast<wchar_t>(unit);
  }
  return true;
}

#endif
