// The quote conversion: any text rewritten as a string expression of the target
// language, where literals are in double quotes, cannot hold one, and are joined with
// '+'; the constant #引号 stands for one double quote.
#pragma once

#include <cstdint>

#include "text/text.h"

namespace velmora {

// "#引号" in code page 936: '#', then 引 (D2 FD) and 号 (BA C5).
inline constexpr char kQuoteConstant[] = "#\xD2\xFD\xBA\xC5";

// Non-overlapping matches from left to right, found with findText and its two-byte
// stepping. Letters fold when caseSensitive is false.
std::int32_t countOccurrences(const Text& text, const Text& pattern, bool caseSensitive);

// The expression that evaluates to exactly `text`. Every 0x22 byte is a quote, also
// one right after a byte of 0x80 or above: no ANSI code page has 0x22 as the second
// byte of a character, and leaving it unescaped would change or cut the text.
Text convertQuotes(const Text& text);

}  // namespace velmora
