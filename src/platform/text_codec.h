#pragma once

// Conversions between the program's wide strings (UTF-16) and the one byte
// per character of its text files and 8-bit words, UTF-8 for file names, and
// the upper-casing rules of words and clues.

#include <string>
#include <string_view>

namespace korvo {

// Character written for a wide character that one byte cannot hold.
inline constexpr char kUnencodable = '?';

// ISO 8859-1: every unit up to U+00FF becomes that byte, every other one '?'.
// For texts the user reads back (settings, exports).
std::string EncodeLatin1(std::u16string_view text);
// ISO 8859-1 bytes to UTF-16: each byte becomes the character of the same code.
std::u16string DecodeLatin1(std::string_view bytes);

// Plain narrowing: each unit's low 8 bits (for words and grid characters,
// whose units are ASCII letters and symbols).
std::string Narrow(std::u16string_view text);
// Plain widening: each byte, read as unsigned, becomes one unit.
std::u16string Widen(std::string_view text);

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);
// UTF-8 to UTF-16; each malformed sequence becomes U+FFFD.
std::u16string Utf16FromUtf8(std::string_view text);

// Upper-casing of words and grid letters: only 'a'..'z' change.
char ToUpperAscii(char c);
char16_t ToUpperAscii(char16_t c);
std::string ToUpperAscii(std::string_view text);
std::u16string ToUpperAscii(std::u16string_view text);

// Upper-casing of clue texts and clue words: 'a'..'z' and the Latin-1 small
// letters U+00E0..U+00FE (except U+00F7, the division sign) become their
// capitals; every other unit, including U+00DF, U+00FF and U+00B5 whose
// capitals lie outside Latin-1, stays as it is, so a text that fits one byte
// per character still does after upper-casing.
char16_t ToUpperLatin1(char16_t c);
std::u16string ToUpperLatin1(std::u16string_view text);

}  // namespace korvo
