// Text: an owned byte string in the system's ANSI code page, and the operations on it.
//
// A text holds no zero byte. The missing text and the empty text are one value: a
// default-constructed Text. Lengths, counts and positions are in bytes, positions
// 1-based, -1 for "not found". Every operation returns a new text that the caller owns.
//
// findText and replaceText step over two-byte characters: a byte of 0x80 or above that
// is not the last byte of the text pairs with the byte after it, counted from where the
// scan starts. Everything else works on plain bytes.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string_view>

namespace velmora {

// Called when a text cannot be given storage, or would be longer than a signed 32-bit
// length can say. It never returns. The program supplies it: the Windows program shows
// an error box and ends; tests supply their own to watch it happen.
[[noreturn]] void textOutOfMemory(std::int64_t bytesRequested);

class Text {
public:
    Text() = default;
    // Copies the bytes up to the first zero byte, if any: a zero ends a text, as it
    // does for the system's own text calls.
    explicit Text(std::string_view bytes);

    Text(const Text& other) : Text(other.view()) {}
    Text& operator=(const Text& other);
    Text(Text&& other) noexcept = default;
    Text& operator=(Text&& other) noexcept = default;
    ~Text() = default;

    // The one place where texts get storage: size bytes, not yet written, plus the
    // terminating zero. A size past INT32_MAX, or storage refused, is fatal.
    static Text withSize(std::int64_t size);

    std::int32_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // Zero-terminated, never null.
    const char* data() const { return bytes_ ? bytes_.get() : ""; }
    std::string_view view() const { return {data(), static_cast<std::size_t>(size_)}; }

    // For filling a text made by withSize; null for an empty text.
    char* writableData() { return bytes_.get(); }
    // Cuts a text filled short (a window reported fewer bytes than it first promised).
    void shrinkTo(std::int32_t newSize);

private:
    std::unique_ptr<char[]> bytes_;
    std::int32_t size_ = 0;
};

// An omitted start position searches from the first byte; an omitted count has no limit.
inline constexpr std::int32_t kFromStart = 1;
inline constexpr std::int32_t kNoLimit = -1;

std::int32_t textLength(const Text& text);

// The first / last count bytes; missing when count <= 0. May split a two-byte character.
Text textLeft(const Text& text, std::int32_t count);
Text textRight(const Text& text, std::int32_t count);

// The 1-based position of the first match at or after start, counted from the beginning
// of the whole text, or -1. Letters A-Z fold to a-z when caseInsensitive is set.
std::int32_t findText(const Text& text, const Text& pattern, std::int32_t start,
                      bool caseInsensitive);

// Replaces matches from left to right, at most count of them (negative: all). Note the
// flag's sense is the opposite of findText's: letters fold when caseSensitive is false.
Text replaceText(const Text& text, const Text& pattern, const Text& replacement, std::int32_t start,
                 std::int32_t count, bool caseSensitive);

// -1, 0 or 1, comparing bytes as unsigned values; a proper prefix is the smaller.
std::int32_t compareText(const Text& a, const Text& b);

// The parts joined in order; always a new text, even when every part is empty.
Text concatParts(std::initializer_list<const Text*> parts);
template <class... More>
Text concatText(const Text& first, const More&... more) {
    return concatParts({&first, &more...});
}

// Truncates toward zero whatever the rounding mode; NaN and values outside the signed
// 64-bit range give INT64_MIN.
std::int64_t toWholeNumber(double x);

}  // namespace velmora
