// libFuzzer target for the text core: the conversion must evaluate back to its input,
// and the text operations must agree with the plain models on pieces of the input.
//
// ctest runs it briefly with a fixed seed. To fuzz for longer, from the build folder:
//   mkdir -p /tmp/velmora-corpus
//   tests/fuzz/velmora_text_fuzz /tmp/velmora-corpus -max_total_time=600 -jobs=2
// (keep the corpus outside the source tree; a crash is written as crash-<hash> in the
// current folder and replays with  tests/fuzz/velmora_text_fuzz crash-<hash> ).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tests/core/reference.h"
#include "text/convert.h"
#include "text/text.h"

using namespace velmora;

[[noreturn]] void velmora::textOutOfMemory(std::int64_t bytesRequested) {
    std::fprintf(stderr, "text out of memory: %lld bytes\n",
                 static_cast<long long>(bytesRequested));
    std::abort();
}

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "invariant failed: %s\n", what);
        std::abort();
    }
}

std::string withoutZeros(std::string_view bytes) {
    std::string s;
    for (const char c : bytes) {
        if (c != '\0') {
            s += c;
        }
    }
    return s;
}

void checkConversion(const std::string& input) {
    const Text text(input);
    const std::string output(convertQuotes(text).view());
    const auto value = reference::evaluate(output);
    check(value.has_value(), "the conversion is a well-formed expression");
    check(*value == input, "the conversion evaluates back to its input");
    if (!input.empty() &&
        countOccurrences(text, Text("\""), false) == reference::quoteBytes(input)) {
        check(output == reference::convertQuotesByTheSteps(text).view(),
              "the conversion matches its steps wherever every quote is found");
    }
}

// Layout: a flag byte, a start and a count byte (signed), then text, pattern and
// replacement separated by zero bytes (a text holds none).
void checkOperations(std::string_view data) {
    if (data.size() < 3) {
        return;
    }
    const auto flags = static_cast<unsigned char>(data[0]);
    const auto start = static_cast<std::int32_t>(static_cast<signed char>(data[1]));
    const auto count = static_cast<std::int32_t>(static_cast<signed char>(data[2]));
    std::string_view rest = data.substr(3);
    std::string_view pieces[3];
    for (std::string_view& piece : pieces) {
        const std::size_t zero = rest.find('\0');
        piece = rest.substr(0, zero);
        rest = zero == std::string_view::npos ? std::string_view() : rest.substr(zero + 1);
    }
    const Text text(pieces[0]);
    const Text pattern(pieces[1]);
    const Text replacement(pieces[2]);
    const bool flag = (flags & 1) != 0;

    check(findText(text, pattern, start, flag) ==
              reference::findText(pieces[0], pieces[1], start, flag),
          "findText matches the model");
    check(replaceText(text, pattern, replacement, start, count, flag).view() ==
              reference::replaceText(pieces[0], pieces[1], pieces[2], start, count, flag),
          "replaceText matches the model");
    check(countOccurrences(text, pattern, flag) ==
              reference::countOccurrences(pieces[0], pieces[1], flag),
          "countOccurrences matches the model");

    const auto length = static_cast<std::int32_t>(pieces[0].size());
    const std::int32_t kept = count <= 0 ? 0 : (count < length ? count : length);
    const Text left = textLeft(text, count);
    const Text right = textRight(text, count);
    check(textLength(left) == kept && left.view() == pieces[0].substr(0, std::size_t(kept)),
          "textLeft keeps the first bytes");
    check(textLength(right) == kept &&
              right.view() == pieces[0].substr(pieces[0].size() - std::size_t(kept)),
          "textRight keeps the last bytes");
    const Text joined = concatText(text, pattern, replacement);
    check(joined.view() == std::string(pieces[0]) + std::string(pieces[1]) + std::string(pieces[2]),
          "concatText joins in order");
    const std::int32_t order = compareText(text, pattern);
    const int expected = pieces[0].compare(pieces[1]);  // char_traits<char> compares unsigned
    check(order == (expected < 0 ? -1 : expected > 0 ? 1 : 0), "compareText orders bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkConversion(withoutZeros(bytes));
    checkOperations(bytes);
    return 0;
}
