// Slow, plain models of the text core for differential tests and the fuzz target.
// They follow the documented rules step by step and share no code with the core.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "text/text.h"

namespace reference {

std::int32_t findText(std::string_view text, std::string_view pattern, std::int32_t start,
                      bool caseInsensitive);

std::string replaceText(std::string_view text, std::string_view pattern,
                        std::string_view replacement, std::int32_t start, std::int32_t count,
                        bool caseSensitive);

std::int32_t countOccurrences(std::string_view text, std::string_view pattern, bool caseSensitive);

// How many 0x22 bytes the text holds, whatever stands before them.
std::int64_t quoteBytes(std::string_view text);

// The quote conversion done the long way, as its steps are written, with the core's
// own text operations. It differs from convertQuotes only where the two-byte stepping
// hides a quote, and on the empty text.
velmora::Text convertQuotesByTheSteps(const velmora::Text& text);

// The value of an expression of the target language: double-quoted literals (any bytes
// but a quote) and the constant #引号, joined by '+'. Nothing for a malformed one.
std::optional<std::string> evaluate(std::string_view expression);

}  // namespace reference
