#include "text/text.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace velmora {
namespace {

constexpr std::int64_t kMaxTextSize = std::numeric_limits<std::int32_t>::max();

unsigned char byteAt(const char* bytes, std::int64_t i) {
    return static_cast<unsigned char>(bytes[i]);
}

unsigned char foldLetter(unsigned char b) {
    return (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b + ('a' - 'A')) : b;
}

bool matchesAt(const char* bytes, std::int32_t i, const Text& pattern, bool foldLetters) {
    const char* p = pattern.data();
    const std::int32_t n = pattern.size();
    if (!foldLetters) {
        return std::memcmp(bytes + i, p, static_cast<std::size_t>(n)) == 0;
    }
    for (std::int32_t k = 0; k < n; ++k) {
        if (foldLetter(byteAt(bytes, i + k)) != foldLetter(byteAt(p, k))) {
            return false;
        }
    }
    return true;
}

// A byte of 0x80 or above that is not the last byte takes the next byte with it.
std::int32_t characterWidth(const char* bytes, std::int32_t i, std::int32_t length) {
    return (byteAt(bytes, i) >= 0x80 && i + 1 < length) ? 2 : 1;
}

// Where a scan starts: 0-based, start 1 or less meaning the whole text.
std::int32_t scanOrigin(std::int32_t start) {
    return start > 1 ? start - 1 : 0;
}

Text copyOf(const char* bytes, std::int32_t count) {
    return Text(std::string_view(bytes, static_cast<std::size_t>(count)));
}

}  // namespace

Text::Text(std::string_view bytes) {
    const auto zero = bytes.find('\0');
    if (zero != std::string_view::npos) {
        bytes = bytes.substr(0, zero);
    }
    if (bytes.empty()) {
        return;
    }
    *this = withSize(static_cast<std::int64_t>(bytes.size()));
    std::memcpy(bytes_.get(), bytes.data(), bytes.size());
}

Text& Text::operator=(const Text& other) {
    if (this != &other) {
        *this = Text(other.view());
    }
    return *this;
}

Text Text::withSize(std::int64_t size) {
    const std::int64_t requested = size + 1;
    if (size < 0 || size > kMaxTextSize) {
        textOutOfMemory(requested);
    }
    Text text;
    text.bytes_.reset(new (std::nothrow) char[static_cast<std::size_t>(requested)]);
    if (!text.bytes_) {
        textOutOfMemory(requested);
    }
    text.size_ = static_cast<std::int32_t>(size);
    text.bytes_[static_cast<std::size_t>(size)] = '\0';
    return text;
}

void Text::shrinkTo(std::int32_t newSize) {
    if (newSize >= 0 && newSize < size_) {
        size_ = newSize;
        bytes_[static_cast<std::size_t>(newSize)] = '\0';
    }
}

std::int32_t textLength(const Text& text) {
    return text.size();
}

Text textLeft(const Text& text, std::int32_t count) {
    const std::int32_t k = std::min(count, text.size());
    return k > 0 ? copyOf(text.data(), k) : Text();
}

Text textRight(const Text& text, std::int32_t count) {
    const std::int32_t k = std::min(count, text.size());
    return k > 0 ? copyOf(text.data() + (text.size() - k), k) : Text();
}

std::int32_t findText(const Text& text, const Text& pattern, std::int32_t start,
                      bool caseInsensitive) {
    const std::int32_t length = text.size();
    const std::int32_t patternLength = pattern.size();
    const std::int32_t origin = scanOrigin(start);
    if (origin >= length) {
        return -1;
    }
    if (patternLength == 0) {
        return 1;  // an empty pattern is found at the text's beginning, not at start
    }
    const char* bytes = text.data();
    for (std::int32_t i = origin; length - i >= patternLength;
         i += characterWidth(bytes, i, length)) {
        if (matchesAt(bytes, i, pattern, caseInsensitive)) {
            return i + 1;
        }
    }
    return -1;
}

Text replaceText(const Text& text, const Text& pattern, const Text& replacement, std::int32_t start,
                 std::int32_t count, bool caseSensitive) {
    const std::int32_t length = text.size();
    const std::int32_t patternLength = pattern.size();
    const std::int32_t origin = scanOrigin(start);
    if (length == 0 || patternLength == 0 || origin >= length || count == 0) {
        return text;
    }
    const bool foldLetters = !caseSensitive;
    const char* bytes = text.data();

    // Two scans with the same steps: the first counts the matches so that the result
    // is allocated once at its exact size, the second writes it.
    auto scan = [&](auto&& onMatch) {
        std::int32_t left = count;
        std::int32_t i = origin;
        while (length - i >= patternLength) {
            if (matchesAt(bytes, i, pattern, foldLetters)) {
                onMatch(i);
                i += patternLength;
                if (left > 0 && --left == 0) {
                    break;
                }
            } else {
                i += characterWidth(bytes, i, length);
            }
        }
    };

    std::int64_t matches = 0;
    scan([&](std::int32_t) { ++matches; });
    if (matches == 0) {
        return text;
    }
    const std::int64_t size = length + matches * (replacement.size() - patternLength);
    if (size == 0) {
        return Text();
    }
    Text result = Text::withSize(size);
    char* out = result.writableData();
    std::int32_t copiedUpTo = 0;
    scan([&](std::int32_t at) {
        std::memcpy(out, bytes + copiedUpTo, static_cast<std::size_t>(at - copiedUpTo));
        out += at - copiedUpTo;
        std::memcpy(out, replacement.data(), static_cast<std::size_t>(replacement.size()));
        out += replacement.size();
        copiedUpTo = at + patternLength;
    });
    std::memcpy(out, bytes + copiedUpTo, static_cast<std::size_t>(length - copiedUpTo));
    return result;
}

std::int32_t compareText(const Text& a, const Text& b) {
    const std::int32_t common = std::min(a.size(), b.size());
    const int order = std::memcmp(a.data(), b.data(), static_cast<std::size_t>(common));
    if (order != 0) {
        return order < 0 ? -1 : 1;  // memcmp compares as unsigned char
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

Text concatParts(std::initializer_list<const Text*> parts) {
    std::int64_t total = 0;
    for (const Text* part : parts) {
        total += part->size();
    }
    Text result = Text::withSize(total);
    char* out = result.writableData();
    for (const Text* part : parts) {
        std::memcpy(out, part->data(), static_cast<std::size_t>(part->size()));
        out += part->size();
    }
    return result;
}

std::int64_t toWholeNumber(double x) {
    // The cast truncates toward zero in any rounding mode; it is only defined for values
    // inside the range, which also rules out NaN (every comparison with it is false).
    constexpr double kLow = -0x1p63;
    constexpr double kHigh = 0x1p63;
    if (x >= kLow && x < kHigh) {
        return static_cast<std::int64_t>(x);
    }
    return std::numeric_limits<std::int64_t>::min();
}

}  // namespace velmora
