#include "text/convert.h"

#include <cstring>
#include <string_view>

namespace velmora {
namespace {

constexpr char kQuote = '"';
constexpr std::string_view kConstant = kQuoteConstant;

// Writes bytes and returns where the next ones go.
char* put(char* out, std::string_view bytes) {
    std::memcpy(out, bytes.data(), bytes.size());
    return out + bytes.size();
}

// What follows each quote of the text: the quote closes the literal it is in, then
//  +#引号+"  adds the constant and opens a new literal.
constexpr std::string_view kAfterQuote = "+#\xD2\xFD\xBA\xC5+\"";
static_assert(kAfterQuote.substr(1, kConstant.size()) == kConstant);

// Copies the text with every quote followed by kAfterQuote. memchr skips the plain runs;
// a run of quotes is written byte by byte, so quote-dense text costs no call per quote.
char* putEscaped(char* out, std::string_view text) {
    while (!text.empty()) {
        const std::size_t quote = text.find(kQuote);
        if (quote == std::string_view::npos) {
            return put(out, text);
        }
        out = put(out, text.substr(0, quote));
        text.remove_prefix(quote);
        while (!text.empty() && text.front() == kQuote) {
            *out++ = kQuote;
            out = put(out, kAfterQuote);
            text.remove_prefix(1);
        }
    }
    return out;
}

// Counts in 8-bit lanes, 255 bytes at a time, so the compiler can compare a whole vector
// of bytes per step instead of widening each one into a 64-bit sum.
std::int64_t countQuotes(std::string_view text) {
    std::int64_t total = 0;
    while (!text.empty()) {
        const std::string_view block = text.substr(0, 255);
        std::uint8_t count = 0;
        for (const char c : block) {
            count = static_cast<std::uint8_t>(count + (c == kQuote));
        }
        total += count;
        text.remove_prefix(block.size());
    }
    return total;
}

}  // namespace

std::int32_t countOccurrences(const Text& text, const Text& pattern, bool caseSensitive) {
    if (textLength(text) == 0 || textLength(pattern) == 0) {
        return 0;
    }
    std::int32_t count = 0;
    std::int32_t position = findText(text, pattern, kFromStart, !caseSensitive);
    while (position != -1) {
        ++count;
        const std::int64_t next = toWholeNumber(double(position) + double(textLength(pattern)));
        if (next > textLength(text)) {
            break;  // the match ends the text; a wrapped start would search it again
        }
        position = findText(text, pattern, static_cast<std::int32_t>(next), !caseSensitive);
    }
    return count;
}

// The result is what this sequence of steps gives, built in one allocation:
//  - one quote: at the start,  #引号+  text  "   ; at the end,  "  text  +#引号 ;
//    inside, the general form below (it gives the same bytes);
//  - otherwise every quote becomes  "+#引号+"  and the whole is wrapped in quotes, except
//    that a leading quote drops its  "+  and a trailing quote its  +"  , since there the
//    constant stands alone rather than between two literals.
// The lone quote is the one input the two forms disagree on; it gives  #引号+"" .
Text convertQuotes(const Text& text) {
    std::string_view in = text.view();
    if (in.empty()) {
        return Text("\"\"");  // the empty literal: nothing else evaluates to no text
    }
    const std::int64_t quotes = countQuotes(in);
    const bool leading = in.front() == kQuote;
    const bool trailing = in.back() == kQuote;
    const std::int64_t escapedSize = static_cast<std::int64_t>(in.size()) +
                                     quotes * static_cast<std::int64_t>(kAfterQuote.size());

    if (quotes == 1 && (leading || trailing)) {
        Text result = Text::withSize(static_cast<std::int64_t>(in.size()) + 2 +
                                     static_cast<std::int64_t>(kConstant.size()));
        char* out = result.writableData();
        if (leading) {
            out = put(out, kConstant);
            out = put(out, "+");
            out = put(out, in);
            put(out, "\"");
        } else {
            out = put(out, "\"");
            out = put(out, in);
            out = put(out, "+");
            put(out, kConstant);
        }
        return result;
    }

    const std::int64_t size = escapedSize + (leading ? -2 : 1) + (trailing ? -2 : 1);
    Text result = Text::withSize(size);
    char* out = result.writableData();
    if (leading) {
        // The first quote's  "+  is not written: start straight at the constant.
        out = put(out, kConstant);
        out = put(out, "+\"");
        in.remove_prefix(1);
    } else {
        out = put(out, "\"");
    }
    if (trailing) {
        // The last quote is written as  "+#引号  with no literal reopened after it.
        out = putEscaped(out, in.substr(0, in.size() - 1));
        out = put(out, "\"+");
        put(out, kConstant);
    } else {
        out = putEscaped(out, in);
        put(out, "\"");
    }
    return result;
}

}  // namespace velmora
