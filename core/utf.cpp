// UTF-8 and UTF-16 in standard C++.
#include "utf.h"

#include <type_traits>

namespace {

bool IsHighSurrogate(unsigned long unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(unsigned long unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The bytes of a UTF-8 sequence that a lead byte begins, or 0 when none does
// (a continuation byte, an overlong two-byte lead, or beyond U+10FFFF).
int SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead < 0xC2) return 0;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  return lead < 0xF5 ? 4 : 0;
}

// The character that begins at *text, which then points past it; false when
// no whole UTF-8 sequence of a character begins there.
bool NextCharacter(const unsigned char** text, unsigned long* character) {
  const unsigned char* at = *text;
  const int length = SequenceLength(at[0]);
  if (length == 0) return false;
  unsigned long c = length == 1 ? at[0] : at[0] & (0x7F >> length);
  for (int i = 1; i < length; ++i) {  // stops at the terminator, no continuation byte
    if ((at[i] & 0xC0) != 0x80) return false;
    c = (c << 6) | (at[i] & 0x3F);
  }
  const unsigned long least[] = {0, 0, 0x80, 0x800, 0x10000};  // shorter forms are refused
  if (c < least[length] || c > 0x10FFFF || IsHighSurrogate(c) || IsLowSurrogate(c)) return false;
  *character = c;
  *text = at + length;
  return true;
}

// A UTF-16 unit as a number, whatever the sign of wchar_t.
unsigned long Unit(wchar_t unit) { return static_cast<std::make_unsigned_t<wchar_t>>(unit); }

// The character that begins at *wide, which then points past it; false at a
// surrogate that stands alone.
bool NextCharacter(const wchar_t** wide, unsigned long* character) {
  const unsigned long c = Unit((*wide)[0]);
  const unsigned long next = c ? Unit((*wide)[1]) : 0;
  if (IsHighSurrogate(c) && IsLowSurrogate(next)) {
    *character = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
    *wide += 2;
    return true;
  }
  if (IsHighSurrogate(c) || IsLowSurrogate(c) || c > 0xFFFF) return false;
  *character = c;
  *wide += 1;
  return true;
}

// A refused conversion: nothing of it, but an empty text where there is room.
template <typename Unit>
bool Refused(Unit* out, std::size_t size) {
  if (size > 0) out[0] = Unit();
  return false;
}

}  // namespace

bool Utf8ToUtf16(const char* text, wchar_t* wide, std::size_t size) {
  const unsigned char* at = reinterpret_cast<const unsigned char*>(text);
  std::size_t n = 0;
  for (unsigned long c = 0; *at; wide[n++] = static_cast<wchar_t>(c)) {
    if (!NextCharacter(&at, &c) || n + (c > 0xFFFF ? 2 : 1) >= size) return Refused(wide, size);
    if (c > 0xFFFF) {  // a surrogate pair
      wide[n++] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
      c = 0xDC00 + ((c - 0x10000) & 0x3FF);
    }
  }
  if (n >= size) return Refused(wide, size);
  wide[n] = L'\0';
  return true;
}

bool Utf16ToUtf8(const wchar_t* wide, char* text, std::size_t size) {
  const unsigned char lead[] = {0, 0, 0xC0, 0xE0, 0xF0};
  std::size_t n = 0;
  for (unsigned long c = 0; *wide;) {
    if (!NextCharacter(&wide, &c)) return Refused(text, size);
    const int length = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    if (n + length >= size) return Refused(text, size);
    text[n++] = static_cast<char>(length == 1 ? c : lead[length] | (c >> (6 * (length - 1))));
    for (int i = length - 2; i >= 0; --i)
      text[n++] = static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
  }
  if (n >= size) return Refused(text, size);
  text[n] = '\0';
  return true;
}
