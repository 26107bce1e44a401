// The text operations at their edges, and against the plain models on random texts.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tests/core/out_of_memory.h"
#include "tests/core/reference.h"
#include "text/convert.h"
#include "text/text.h"

using namespace velmora;

namespace {

// An empty string stands for the missing text too: the two are one value.
Text t(std::string_view bytes) {
    return Text(bytes);
}

std::string bytesOf(const Text& text) {
    return std::string(text.view());
}

constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kMin64 = std::numeric_limits<std::int64_t>::min();

TEST(TextConstruction, StopsAtTheFirstZeroByte) {
    EXPECT_EQ(bytesOf(Text(std::string_view("a\0b", 3))), "a");
    EXPECT_TRUE(Text(std::string_view("\0b", 2)).empty());
    EXPECT_STREQ(Text().data(), "");
}

TEST(TextLeftRight, CountsAndClampsBytes) {
    struct Row {
        bool left;
        std::string_view text;
        std::int32_t count;
        std::string_view expected;
    };
    const Row rows[] = {
        {true, "abc", 0, ""},
        {true, "abc", 5, "abc"},
        {true, "", 1, ""},
        {true, "\xD6\xD0\xCE\xC4", 1, "\xD6"},  // 中文, cut inside a character
        {false, "abc", -5, ""},
        {false, "abc", 9, "abc"},
        {false, "\xD6\xD0\xCE\xC4", 3, "\xD0\xCE\xC4"},
        // Not in the table: exact length, the extremes of the count.
        {true, "abc", 3, "abc"},
        {false, "abc", 3, "abc"},
        {true, "abc", kMin32, ""},
        {false, "abc", kMax32, "abc"},
        {false, "abc", 1, "c"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << (row.left ? "textLeft(" : "textRight(")
                     << testing::PrintToString(std::string(row.text)) << ", " << row.count << ")");
        const Text result =
            row.left ? textLeft(t(row.text), row.count) : textRight(t(row.text), row.count);
        EXPECT_EQ(bytesOf(result), row.expected);
        EXPECT_EQ(textLength(result), static_cast<std::int32_t>(row.expected.size()));
    }
    EXPECT_EQ(textLength(Text()), 0);
    EXPECT_EQ(textLength(t("\xD6\xD0\xCE\xC4")), 4);
}

struct FindRow {
    std::string_view text;
    std::string_view pattern;
    std::int32_t start;
    bool caseInsensitive;
    std::int32_t expected;
};

const FindRow kFindRows[] = {
    {"abcabc", "bc", kFromStart, false, 2},
    {"abcabc", "bc", 3, false, 5},
    {"abcabc", "bc", 0, false, 2},
    {"abcabc", "bc", 6, false, -1},
    {"abcabc", "bc", 7, false, -1},
    {"abcabc", "", 4, false, 1},
    {"abcabc", "", 7, false, -1},
    {"", "", kFromStart, false, -1},
    {"abc", "abcd", kFromStart, false, -1},
    {"aBc", "b", kFromStart, false, -1},
    {"aBc", "b", kFromStart, true, 2},
    {"[", "{", kFromStart, true, -1},
    {"a\xB0\"\"", "\"", kFromStart, false, 4},
    {"\xB0\"", "\"", kFromStart, false, -1},
    {"a\xB0\"", "\"", 3, false, 3},
    {"\x80\"x\"", "\"", kFromStart, false, 4},
    {"\xD6\xD0", "\xD0", kFromStart, false, -1},
    {"\xD6\xD0\xCE\xC4", "\xD0\xCE", kFromStart, false, -1},
    {"a\xD6\xD0", "a\xD6", kFromStart, false, 1},
    {"\xB0\x41", "\xB0\x61", kFromStart, true, 1},  // \xB0 A, \xB0 a
    // Not in the table.
    {"abcabc", "bc", kMin32, false, 2},   // any start below 1 is the whole text
    {"abcabc", "bc", kMax32, false, -1},  // far past the end, no overflow
    {"abc", "B", kFromStart, true, 2},    // the pattern folds as well as the text
    {"xyZ", "z", kFromStart, true, 3},    // A and Z are the ends of the folded range
    {"Abc", "a", kFromStart, true, 1},
    {"@`", "`", kFromStart, true, 2},          // the neighbours of A-Z do not fold
    {"\xC0", "\xE0", kFromStart, true, -1},    // nor do bytes above 0x7F
    {"\xB0\"", "\"", 2, false, 2},             // a start on a pair's second byte
    {"ab\xB0", "\xB0", kFromStart, false, 3},  // an unpaired last byte is found
    {"\xB0\xB0\"", "\"", kFromStart, false, 3},
    {"abc", "c", 3, false, 3},
};

TEST(FindText, EdgeCases) {
    for (const FindRow& row : kFindRows) {
        SCOPED_TRACE(testing::Message()
                     << "findText(" << testing::PrintToString(std::string(row.text)) << ", "
                     << testing::PrintToString(std::string(row.pattern)) << ", " << row.start
                     << ", " << row.caseInsensitive << ")");
        EXPECT_EQ(findText(t(row.text), t(row.pattern), row.start, row.caseInsensitive),
                  row.expected);
    }
}

TEST(ReplaceText, EdgeCases) {
    struct Row {
        std::string_view text;
        std::string_view pattern;
        std::string_view replacement;
        std::int32_t start;
        std::int32_t count;
        bool caseSensitive;
        std::string_view expected;
    };
    const Row rows[] = {
        // "+#引号+"
        {"a\"b\"c", "\"", "\"+#\xD2\xFD\xBA\xC5+\"", kFromStart, kNoLimit, false,
         "a\"+#\xD2\xFD\xBA\xC5+\"b\"+#\xD2\xFD\xBA\xC5+\"c"},
        {"aaa", "aa", "b", kFromStart, kNoLimit, false, "ba"},
        {"aaaa", "aa", "a", kFromStart, kNoLimit, false, "aa"},
        {"abcabc", "b", "X", 3, kNoLimit, false, "abcaXc"},
        {"abcabc", "b", "X", kFromStart, 1, false, "aXcabc"},
        {"abcabc", "b", "X", kFromStart, 0, false, "abcabc"},
        {"abcabc", "b", "X", kFromStart, -3, false, "aXcaXc"},
        {"abcabc", "b", "", kFromStart, kNoLimit, false, "acac"},
        {"abc", "", "X", kFromStart, kNoLimit, false, "abc"},
        {"", "a", "X", kFromStart, kNoLimit, false, ""},
        {"abc", "abc", "", kFromStart, kNoLimit, false, ""},
        {"abc", "b", "X", 4, kNoLimit, false, "abc"},
        {"abc", "B", "X", kFromStart, kNoLimit, false, "aXc"},
        {"abc", "B", "X", kFromStart, kNoLimit, true, "abc"},
        {"\xB0\"", "\"", "Q", kFromStart, kNoLimit, false, "\xB0\""},
        {"\xB0\"\"", "\"", "Q", kFromStart, kNoLimit, false, "\xB0\"Q"},
        {"a\xB0\"b", "\"", "Q", 3, kNoLimit, false, "a\xB0Qb"},
        {"a\x80", "\"", "Q", kFromStart, kNoLimit, false, "a\x80"},
        {"\xB0\x41", "\xB0\x61", "X", kFromStart, kNoLimit, false, "X"},  // \xB0 A, \xB0 a
        // Not in the table.
        {"abab", "ab", "", kFromStart, kNoLimit, false, ""},   // every byte replaced away
        {"abcabc", "b", "X", kFromStart, 5, false, "aXcaXc"},  // limit above the matches
        {"abcabc", "bc", "X", 3, kNoLimit, false, "abcaX"},    // match before start kept
        {"abcabc", "b", "X", kMin32, kNoLimit, false, "aXcaXc"},
        {"abcabc", "b", "X", kMax32, kNoLimit, false, "abcabc"},
        {"abcabc", "b", "X", kFromStart, kMin32, false, "aXcaXc"},
        {"\xB0\"", "\"", "Q", 2, kNoLimit, false, "\xB0Q"},  // start on a second byte
        {"a\xB0\"", "\"", "Q", kFromStart, kNoLimit, false, "a\xB0\""},
        {"x\xB0", "x", "", kFromStart, kNoLimit, false, "\xB0"},  // unpaired last byte kept
        {"aAa", "a", "b", kFromStart, kNoLimit, false, "bbb"},
        {"aAa", "a", "b", kFromStart, kNoLimit, true, "bAb"},
        {"zZ", "z", "y", kFromStart, kNoLimit, false, "yy"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << "replaceText(" << testing::PrintToString(std::string(row.text)) << ", "
                     << testing::PrintToString(std::string(row.pattern)) << ", "
                     << testing::PrintToString(std::string(row.replacement)) << ", " << row.start
                     << ", " << row.count << ", " << row.caseSensitive << ")");
        const Text result = replaceText(t(row.text), t(row.pattern), t(row.replacement), row.start,
                                        row.count, row.caseSensitive);
        EXPECT_EQ(bytesOf(result), row.expected);
        EXPECT_EQ(textLength(result), static_cast<std::int32_t>(row.expected.size()));
    }
}

TEST(CountOccurrences, FollowsTheSearchSteps) {
    struct Row {
        std::string_view text;
        std::string_view pattern;
        bool caseSensitive;
        std::int32_t expected;
    };
    const Row rows[] = {
        {"a\"b\"c", "\"", false, 2},
        {"aaaa", "aa", false, 2},  // never overlapping
        {"aaa", "aa", false, 1},
        {"", "\"", false, 0},
        {"abc", "", false, 0},
        {"aAa", "a", true, 2},
        {"aAa", "a", false, 3},
        {"\xB0\"", "\"", false, 0},  // the quote is a pair's second byte
        {"a\xB0\"\"", "\"", false, 1},
        {"\"\xB0\"", "\"", false, 1},  // pairing restarts behind each match
        {"\"\"\"", "\"", false, 3},
        {"abc\"", "\"", false, 1},  // a match that ends the text
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << "countOccurrences(" << testing::PrintToString(std::string(row.text)) << ", "
                     << testing::PrintToString(std::string(row.pattern)) << ", "
                     << row.caseSensitive << ")");
        EXPECT_EQ(countOccurrences(t(row.text), t(row.pattern), row.caseSensitive), row.expected);
    }
}

TEST(CompareText, BytesAsUnsignedValues) {
    struct Row {
        std::string_view a;
        std::string_view b;
        std::int32_t expected;
    };
    const Row rows[] = {
        {"", "", 0},          {"", "a", -1},    {"ab", "abc", -1}, {"\xB0", "a", 1},
        {"A", "a", -1},       {"abc", "ab", 1}, {"a", "", 1},      {"\xD6\xD0", "\xD6\xD0", 0},
        {"\x7F", "\x80", -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << "compareText(" << testing::PrintToString(std::string(row.a)) << ", "
                     << testing::PrintToString(std::string(row.b)) << ")");
        EXPECT_EQ(compareText(t(row.a), t(row.b)), row.expected);
    }
}

TEST(ConcatText, JoinsInOrder) {
    EXPECT_EQ(bytesOf(concatText(t("\""), Text(), t("x"))), "\"x");
    EXPECT_TRUE(concatText(Text(), Text()).empty());
    EXPECT_EQ(bytesOf(concatText(t("\xD6"), t("\xD0"), t("a"), Text(), t("\"\""))),
              "\xD6\xD0\x61\"\"");  // 中 a ""
    EXPECT_EQ(bytesOf(concatText(t("only"))), "only");
}

TEST(ToWholeNumber, TruncatesTowardZeroAndMapsTheRestToTheMinimum) {
    const double kTwoTo63 = 0x1p63;
    struct Row {
        double x;
        std::int64_t expected;
    };
    const Row rows[] = {
        {-2.9, -2},
        {2.9, 2},
        {-0.5, 0},
        {0.5, 0},
        {-0.0, 0},
        {1e20, kMin64},
        {-1e20, kMin64},
        {std::numeric_limits<double>::quiet_NaN(), kMin64},
        {std::numeric_limits<double>::infinity(), kMin64},
        {-std::numeric_limits<double>::infinity(), kMin64},
        {kTwoTo63, kMin64},                                     // just outside
        {std::nextafter(kTwoTo63, 0.0), 0x7FFFFFFFFFFFFC00},    // just inside
        {-kTwoTo63, kMin64},                                    // inside, exactly
        {std::nextafter(-kTwoTo63, 0.0), -0x7FFFFFFFFFFFFC00},  // just inside
        {std::nextafter(-kTwoTo63, -kTwoTo63 * 2), kMin64},     // just outside
        {4294967296.75, 4294967296},                            // past 32 bits
        {-2147483649.5, -2147483649},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "toWholeNumber(" << row.x << ")");
        EXPECT_EQ(toWholeNumber(row.x), row.expected);
    }
}

// Puts the rounding mode back however the test ends.
struct RoundingModeGuard {
    int saved = std::fegetround();
    ~RoundingModeGuard() { std::fesetround(saved); }
};

TEST(ToWholeNumber, TruncatesInEveryRoundingModeAndKeepsIt) {
    const RoundingModeGuard guard;
    const int modes[] = {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO};
    for (const int mode : modes) {
        SCOPED_TRACE(testing::Message() << "rounding mode " << mode);
        ASSERT_EQ(std::fesetround(mode), 0);
        EXPECT_EQ(toWholeNumber(2.5), 2);
        EXPECT_EQ(toWholeNumber(-2.5), -2);
        EXPECT_EQ(toWholeNumber(3.5), 3);
        EXPECT_EQ(toWholeNumber(2.9), 2);
        EXPECT_EQ(toWholeNumber(-2.9), -2);
        EXPECT_EQ(toWholeNumber(-0.5), 0);
        EXPECT_EQ(toWholeNumber(0.999999), 0);
        EXPECT_EQ(std::fegetround(), mode);
    }
}

// A result that a signed 32-bit length cannot hold is fatal and names the bytes it would
// have needed (the text and its terminating zero); the size must not wrap to a small one.
TEST(TextOutOfMemory, ReplaceTextPastTheLimit) {
    const Text text(std::string(65536, 'a'));
    // 65536 matches of one byte, each replaced by 32768: exactly 2^31 bytes, one too many.
    try {
        replaceText(text, t("a"), Text(std::string(32768, 'b')), kFromStart, kNoLimit, true);
        FAIL() << "a 2^31-byte text was made";
    } catch (const TextOutOfMemory& e) {
        EXPECT_EQ(e.bytesRequested, (std::int64_t{1} << 31) + 1);
    }
    // 2^32 bytes: wrapped to 32 bits this would be an empty text.
    try {
        replaceText(text, t("a"), Text(std::string(65536, 'b')), kFromStart, kNoLimit, true);
        FAIL() << "a 2^32-byte text was made";
    } catch (const TextOutOfMemory& e) {
        EXPECT_EQ(e.bytesRequested, (std::int64_t{1} << 32) + 1);
    }
}

TEST(TextOutOfMemory, ConvertQuotesPastTheLimit) {
    // 2^28 quotes (256 MiB) become 9 bytes each, less the 2 + 2 dropped at the ends.
    const std::int64_t quotes = std::int64_t{1} << 28;
    const Text text = replaceText(Text(std::string(16384, 'a')), t("a"),
                                  Text(std::string(16384, '"')), kFromStart, kNoLimit, true);
    ASSERT_EQ(textLength(text), quotes);
    try {
        convertQuotes(text);
        FAIL() << "an over-long conversion returned";
    } catch (const TextOutOfMemory& e) {
        EXPECT_EQ(e.bytesRequested, 9 * quotes - 4 + 1);
    }
}

TEST(TextOutOfMemory, ConcatTextPastTheLimit) {
    if (sizeof(void*) < 8) {
        GTEST_SKIP() << "two 1 GiB parts do not fit a 32-bit address space";
    }
    // Left unwritten: the total is checked before any byte is copied, and untouched
    // pages cost nothing.
    const Text half = Text::withSize(std::int64_t{1} << 30);
    try {
        concatText(half, half, t("x"));
        FAIL() << "an over-long concatenation returned";
    } catch (const TextOutOfMemory& e) {
        EXPECT_EQ(e.bytesRequested, (std::int64_t{1} << 31) + 1 + 1);
    }
}

// Random short texts over a few bytes, so that matches, pairs and folded letters are
// frequent, checked against the plain models.
TEST(TextOperationsAgainstModel, RandomTexts) {
    std::mt19937 rng(20261211);
    const std::string_view alphabet = "aAzZ\"\xB0\x80";
    const auto randomText = [&](std::uint32_t maxLength) {
        std::string s(rng() % (maxLength + 1), ' ');
        for (char& c : s) {
            c = alphabet[rng() % alphabet.size()];
        }
        return s;
    };
    const auto randomPosition = [&](std::int32_t length) -> std::int32_t {
        switch (rng() % 8) {
            case 0:
                return kMin32;
            case 1:
                return kMax32;
            default:
                return static_cast<std::int32_t>(rng() % static_cast<std::uint32_t>(length + 6)) -
                       2;
        }
    };
    for (int round = 0; round < 20000; ++round) {
        const std::string text = randomText(12);
        const std::string pattern = randomText(3);
        const std::string replacement = randomText(3);
        const auto length = static_cast<std::int32_t>(text.size());
        const std::int32_t start = randomPosition(length);
        const std::int32_t count = rng() % 4 == 0 ? kNoLimit : randomPosition(3);
        const bool flag = rng() % 2 == 0;
        SCOPED_TRACE(testing::Message() << "text " << testing::PrintToString(text) << " pattern "
                                        << testing::PrintToString(pattern) << " replacement "
                                        << testing::PrintToString(replacement) << " start " << start
                                        << " count " << count << " flag " << flag);
        ASSERT_EQ(findText(t(text), t(pattern), start, flag),
                  reference::findText(text, pattern, start, flag));
        ASSERT_EQ(bytesOf(replaceText(t(text), t(pattern), t(replacement), start, count, flag)),
                  reference::replaceText(text, pattern, replacement, start, count, flag));
        ASSERT_EQ(countOccurrences(t(text), t(pattern), flag),
                  reference::countOccurrences(text, pattern, flag));
    }
}

}  // namespace
