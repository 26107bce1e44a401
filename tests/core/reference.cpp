#include "tests/core/reference.h"

#include "text/convert.h"

namespace reference {
namespace {

unsigned char fold(unsigned char b) {
    return (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b - 'A' + 'a') : b;
}

bool sameBytes(std::string_view text, std::int64_t at, std::string_view pattern, bool foldCase) {
    for (std::size_t k = 0; k < pattern.size(); ++k) {
        const auto a = static_cast<unsigned char>(text[static_cast<std::size_t>(at) + k]);
        const auto b = static_cast<unsigned char>(pattern[k]);
        if (foldCase ? fold(a) != fold(b) : a != b) {
            return false;
        }
    }
    return true;
}

bool startsPair(std::string_view text, std::int64_t i) {
    const auto length = static_cast<std::int64_t>(text.size());
    return static_cast<unsigned char>(text[static_cast<std::size_t>(i)]) >= 0x80 && i + 1 < length;
}

// start - 1, never below 0; worked out in 64 bits so that INT32_MIN is fine.
std::int64_t origin(std::int32_t start) {
    const std::int64_t s = std::int64_t{start} - 1;
    return s < 0 ? 0 : s;
}

}  // namespace

std::int32_t findText(std::string_view text, std::string_view pattern, std::int32_t start,
                      bool caseInsensitive) {
    const auto length = static_cast<std::int64_t>(text.size());
    const auto patternLength = static_cast<std::int64_t>(pattern.size());
    const std::int64_t s = origin(start);
    if (s >= length) {
        return -1;
    }
    if (patternLength == 0) {
        return 1;
    }
    std::int64_t i = s;
    while (length - i >= patternLength) {
        if (sameBytes(text, i, pattern, caseInsensitive)) {
            return static_cast<std::int32_t>(i + 1);
        }
        i += startsPair(text, i) ? 2 : 1;
    }
    return -1;
}

std::string replaceText(std::string_view text, std::string_view pattern,
                        std::string_view replacement, std::int32_t start, std::int32_t count,
                        bool caseSensitive) {
    const auto length = static_cast<std::int64_t>(text.size());
    const auto patternLength = static_cast<std::int64_t>(pattern.size());
    const std::int64_t s = origin(start);
    std::int32_t left = count;
    if (length == 0 || patternLength == 0 || s >= length || left == 0) {
        return std::string(text);
    }
    std::string out(text.substr(0, static_cast<std::size_t>(s)));
    std::int64_t i = s;
    while (length - i >= patternLength) {
        const auto at = static_cast<std::size_t>(i);
        if (sameBytes(text, i, pattern, !caseSensitive)) {
            out += replacement;
            i += patternLength;
            if (left > 0) {
                --left;
                if (left == 0) {
                    break;
                }
            }
        } else if (startsPair(text, i)) {
            out += text.substr(at, 2);
            i += 2;
        } else {
            out += text[at];
            i += 1;
        }
    }
    out += text.substr(static_cast<std::size_t>(i));
    return out;
}

std::int32_t countOccurrences(std::string_view text, std::string_view pattern, bool caseSensitive) {
    if (text.empty() || pattern.empty()) {
        return 0;
    }
    std::int32_t count = 0;
    std::int64_t position = findText(text, pattern, 1, !caseSensitive);
    while (position != -1) {
        ++count;
        const std::int64_t next = position + static_cast<std::int64_t>(pattern.size());
        position = findText(text, pattern, static_cast<std::int32_t>(next), !caseSensitive);
    }
    return count;
}

velmora::Text convertQuotesByTheSteps(const velmora::Text& text) {
    using namespace velmora;
    const Text quote("\"");
    const Text startPiece("#\xD2\xFD\xBA\xC5+");        // #引号+
    const Text endPiece("+#\xD2\xFD\xBA\xC5");          // +#引号
    const Text middlePiece("+#\xD2\xFD\xBA\xC5+\"");    // +#引号+"
    const Text replacement("\"+#\xD2\xFD\xBA\xC5+\"");  // "+#引号+"
    const auto low32 = [](std::int64_t x) { return static_cast<std::int32_t>(x); };

    if (countOccurrences(text, quote, false) == 1) {
        if (compareText(textLeft(text, 1), quote) == 0) {
            return concatText(startPiece, text, quote);
        }
        if (compareText(textRight(text, 1), quote) == 0) {
            return concatText(quote, text, endPiece);
        }
        const std::int32_t p = findText(text, quote, kFromStart, false);
        const Text rest = textRight(text, low32(toWholeNumber(double(textLength(text)) - p)));
        return concatText(quote, textLeft(text, p), middlePiece, rest, quote);
    }
    Text r = replaceText(text, quote, replacement, kFromStart, kNoLimit, false);
    if (compareText(textLeft(r, 1), quote) != 0) {
        r = concatText(quote, r);
    }
    if (compareText(textRight(r, 1), quote) != 0) {
        r = concatText(r, quote);
    }
    if (compareText(textLeft(text, 1), quote) == 0) {
        r = textRight(r, low32(toWholeNumber(double(textLength(r)) - 2)));
    }
    if (compareText(textRight(text, 1), quote) == 0) {
        r = textLeft(r, low32(toWholeNumber(double(textLength(r)) - 2)));
    }
    return r;
}

std::optional<std::string> evaluate(std::string_view expression) {
    constexpr std::string_view kConstant = "#\xD2\xFD\xBA\xC5";  // #引号
    std::string value;
    std::string_view rest = expression;
    while (true) {
        if (rest.starts_with('"')) {
            const std::size_t close = rest.find('"', 1);
            if (close == std::string_view::npos) {
                return std::nullopt;
            }
            value += rest.substr(1, close - 1);
            rest.remove_prefix(close + 1);
        } else if (rest.starts_with(kConstant)) {
            value += '"';
            rest.remove_prefix(kConstant.size());
        } else {
            return std::nullopt;
        }
        if (rest.empty()) {
            return value;
        }
        if (!rest.starts_with('+')) {
            return std::nullopt;
        }
        rest.remove_prefix(1);
    }
}

std::int64_t quoteBytes(std::string_view text) {
    std::int64_t n = 0;
    for (const char c : text) {
        n += c == '"';
    }
    return n;
}

}  // namespace reference
