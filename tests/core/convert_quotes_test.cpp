// The quote conversion: exact outputs, agreement with the long way round of its steps,
// and the round trip through an evaluator of the target language.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "tests/core/reference.h"
#include "text/convert.h"
#include "text/text.h"

using namespace velmora;

namespace {

std::string convert(std::string_view input) {
    return std::string(convertQuotes(Text(input)).view());
}

struct Row {
    std::string_view input;
    std::string_view expected;
};

// #引号 is "#\xD2\xFD\xBA\xC5"; each row shows the output as it reads.
const Row kExamples[] = {
    {"abc", "\"abc\""},
    {"a\"b", "\"a\"+#\xD2\xFD\xBA\xC5+\"b\""},  // "a"+#引号+"b"
    {"\"abc", "#\xD2\xFD\xBA\xC5+\"abc\""},     // #引号+"abc"
    {"abc\"", "\"abc\"+#\xD2\xFD\xBA\xC5"},     // "abc"+#引号
    {"\"", "#\xD2\xFD\xBA\xC5+\"\""},           // #引号+""
    {"a\"b\"c",                                 // "a"+#引号+"b"+#引号+"c"
     "\"a\"+#\xD2\xFD\xBA\xC5+\"b\"+#\xD2\xFD\xBA\xC5+\"c\""},
    {"\"a\"", "#\xD2\xFD\xBA\xC5+\"a\"+#\xD2\xFD\xBA\xC5"},  // #引号+"a"+#引号
    {"\"\"", "#\xD2\xFD\xBA\xC5+\"\"+#\xD2\xFD\xBA\xC5"},    // #引号+""+#引号
    {"x\"\"y",                                               // "x"+#引号+""+#引号+"y"
     "\"x\"+#\xD2\xFD\xBA\xC5+\"\"+#\xD2\xFD\xBA\xC5+\"y\""},
    {"He said \"hi\"",  // "He said "+#引号+"hi"+#引号
     "\"He said \"+#\xD2\xFD\xBA\xC5+\"hi\"+#\xD2\xFD\xBA\xC5"},
    {"+abc", "\"+abc\""},
    {"abc+", "\"abc+\""},
    {"\"+\"", "#\xD2\xFD\xBA\xC5+\"+\"+#\xD2\xFD\xBA\xC5"},  // #引号+"+"+#引号
};

const Row kEdges[] = {
    // Only quotes: the constant repeated, an empty literal between neighbours.
    {"\"\"\"",  // #引号+""+#引号+""+#引号
     "#\xD2\xFD\xBA\xC5+\"\"+#\xD2\xFD\xBA\xC5+\"\"+#\xD2\xFD\xBA\xC5"},
    // Plus signs stay inside the literal, also next to quotes.
    {"+\"+", "\"+\"+#\xD2\xFD\xBA\xC5+\"+\""},  // "+"+#引号+"+"
    // Line breaks are copied; the output spans lines.
    {"a\r\nb\"c\r\n", "\"a\r\nb\"+#\xD2\xFD\xBA\xC5+\"c\r\n\""},  // "a\r\nb"+#引号+"c\r\n"
    // Two-byte characters are copied unchanged: 中"文
    {"\xD6\xD0\"\xCE\xC4", "\"\xD6\xD0\"+#\xD2\xFD\xBA\xC5+\"\xCE\xC4\""},
    // Nothing but the empty literal evaluates to no text.
    {"", "\"\""},
    // A quote right after a byte of 0x80 or above is a quote like any other.
    {"x\x80\"", "\"x\x80\"+#\xD2\xFD\xBA\xC5"},         // "x\x80"+#引号
    {"a\xB0\"b", "\"a\xB0\"+#\xD2\xFD\xBA\xC5+\"b\""},  // "a\xB0"+#引号+"b"
    {"\xB0\"", "\"\xB0\"+#\xD2\xFD\xBA\xC5"},           // "\xB0"+#引号
    {"\xB0\"\"",                                        // "\xB0"+#引号+""+#引号
     "\"\xB0\"+#\xD2\xFD\xBA\xC5+\"\"+#\xD2\xFD\xBA\xC5"},
    {"\"\xB0\"", "#\xD2\xFD\xBA\xC5+\"\xB0\"+#\xD2\xFD\xBA\xC5"},  // #引号+"\xB0"+#引号
    {"\x80\"x\"",                                                  // "\x80"+#引号+"x"+#引号
     "\"\x80\"+#\xD2\xFD\xBA\xC5+\"x\"+#\xD2\xFD\xBA\xC5"},
    // An unpaired high last byte is kept.
    {"a\"\xB0", "\"a\"+#\xD2\xFD\xBA\xC5+\"\xB0\""},
};

TEST(ConvertQuotes, WorkedExamples) {
    for (const Row& row : kExamples) {
        SCOPED_TRACE(testing::PrintToString(std::string(row.input)));
        EXPECT_EQ(convert(row.input), row.expected);
    }
}

TEST(ConvertQuotes, Edges) {
    for (const Row& row : kEdges) {
        SCOPED_TRACE(testing::PrintToString(std::string(row.input)));
        EXPECT_EQ(convert(row.input), row.expected);
    }
}

// The one-quote forms are chosen by the count alone: the lone quote is the input where
// they differ from the general form, which would give just the constant.
TEST(ConvertQuotes, LoneQuoteKeepsItsEmptyLiteral) {
    EXPECT_EQ(convert("\""), "#\xD2\xFD\xBA\xC5+\"\"");
    EXPECT_NE(convert("\""), "#\xD2\xFD\xBA\xC5");
}

// The evaluator is the oracle of the round trip below; it has to say no to anything that
// is not a well-formed expression, or the round trip would prove little.
TEST(Evaluator, AcceptsOnlyWellFormedExpressions) {
    struct Case {
        std::string_view expression;
        bool valid;
        std::string_view value;
    };
    const Case cases[] = {
        {"\"\"", true, ""},
        {"\"a+b\"", true, "a+b"},
        {"#\xD2\xFD\xBA\xC5", true, "\""},
        {"\"a\"+#\xD2\xFD\xBA\xC5+\"b\"", true, "a\"b"},
        {"", false, ""},
        {"\"a", false, ""},
        {"\"a\"+", false, ""},
        {"+\"a\"", false, ""},
        {"\"a\"\"b\"", false, ""},
        {"\"a\"b", false, ""},
        {"#\xD2\xFD\xBA\xC5#\xD2\xFD\xBA\xC5", false, ""},
        {"#\xD2\xFD\xBA", false, ""},
        {"\"a\"++\"b\"", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.expression)));
        const auto value = reference::evaluate(c.expression);
        ASSERT_EQ(value.has_value(), c.valid);
        if (c.valid) {
            EXPECT_EQ(*value, c.value);
        }
    }
}

std::string randomText(std::mt19937& rng, std::string_view alphabet, std::uint32_t maxLength) {
    std::string s(rng() % (maxLength + 1), ' ');
    for (char& c : s) {
        c = alphabet[rng() % alphabet.size()];
    }
    return s;
}

// Wherever the two-byte stepping finds every quote, the one-pass conversion gives the
// same bytes as the steps taken one by one with the text operations.
TEST(ConvertQuotes, SameAsTheStepsWhereEveryQuoteIsFound) {
    std::mt19937 rng(7);
    const std::string_view alphabet = "a\"+A\xB0\r\n";
    int compared = 0;
    for (int round = 0; round < 20000; ++round) {
        const std::string input = randomText(rng, alphabet, 14);
        const Text text(input);
        if (input.empty() ||
            countOccurrences(text, Text("\""), false) != reference::quoteBytes(input)) {
            continue;
        }
        ++compared;
        SCOPED_TRACE(testing::PrintToString(input));
        ASSERT_EQ(std::string(convertQuotes(text).view()),
                  std::string(reference::convertQuotesByTheSteps(text).view()));
    }
    EXPECT_GT(compared, 5000);  // the filter must leave most inputs in
}

// Texts of any non-zero bytes, leaning toward what is hard: quotes, a high byte right
// before a quote, quotes and plus signs at the ends, line breaks.
std::string awkwardText(std::mt19937& rng) {
    std::string s;
    if (rng() % 4 == 0) {
        s += rng() % 2 ? "\"" : "+";
    }
    const std::uint32_t pieces = rng() % 12;
    for (std::uint32_t i = 0; i < pieces; ++i) {
        switch (rng() % 6) {
            case 0:
                s += '"';
                break;
            case 1:
                s += static_cast<char>(0x80 + rng() % 0x80);
                s += '"';
                break;
            case 2:
                s += "\r\n";
                break;
            case 3:
                s += '+';
                break;
            default:
                s += static_cast<char>(1 + rng() % 255);
                break;
        }
    }
    if (rng() % 4 == 0) {
        s += rng() % 2 ? "\"" : "+";
    }
    return s;
}

TEST(ConvertQuotes, EvaluatesBackToTheInput) {
    std::mt19937 rng(11);
    for (int round = 0; round < 30000; ++round) {
        const std::string input = round == 0 ? "\"" : awkwardText(rng);
        SCOPED_TRACE(testing::PrintToString(input));
        const std::string output = std::string(convertQuotes(Text(input)).view());
        const auto value = reference::evaluate(output);
        ASSERT_TRUE(value.has_value()) << testing::PrintToString(output);
        ASSERT_EQ(*value, input);
    }
}

}  // namespace
