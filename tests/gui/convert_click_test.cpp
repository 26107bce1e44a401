// The convert button through the running program: what reaches the output box and the
// clipboard, the warning for an empty input, a busy clipboard, and memory running out.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>
#include <thread>

#include "tests/gui/big_input.h"
#include "tests/gui/velmora_test.h"
#include "text/convert.h"
#include "text/text.h"

// The driver links the text core only to compute the big input's expected output.
[[noreturn]] void velmora::textOutOfMemory(std::int64_t bytesRequested) {
    std::fprintf(stderr, "the test driver ran out of memory for %lld bytes\n",
                 static_cast<long long>(bytesRequested));
    std::abort();
}

namespace {

using namespace gui;

#define Q QUOTE_CONSTANT

constexpr DWORD kFatalExitCode = 0xFFFFFFFF;
const std::string kSentinel = "clipboard sentinel put there by the test";
// 请输入要处理的内容
const std::string kEmptyInputMessage =
    "\xC7\xEB\xCA\xE4\xC8\xEB\xD2\xAA\xB4\xA6\xC0\xED\xB5\xC4\xC4\xDA\xC8\xDD";

struct ConvertCase {
    const char* name;
    std::string input;
    std::string output;
};

const ConvertCase kConvertCases[] = {
    {"no quote", "abc", "\"abc\""},
    {"one quote inside", "a\"b", "\"a\"+" Q "+\"b\""},
    {"one quote first", "\"abc", Q "+\"abc\""},
    {"one quote last", "abc\"", "\"abc\"+" Q},
    {"a lone quote", "\"", Q "+\"\""},
    {"two quotes inside", "a\"b\"c", "\"a\"+" Q "+\"b\"+" Q "+\"c\""},
    {"quotes at both ends", "\"a\"", Q "+\"a\"+" Q},
    {"only two quotes", "\"\"", Q "+\"\"+" Q},
    {"two quotes in a row", "x\"\"y", "\"x\"+" Q "+\"\"+" Q "+\"y\""},
    {"a sentence", "He said \"hi\"", "\"He said \"+" Q "+\"hi\"+" Q},
    {"leading plus", "+abc", "\"+abc\""},
    {"trailing plus", "abc+", "\"abc+\""},
    {"plus between quotes", "\"+\"", Q "+\"+\"+" Q},
    {"CR LF line breaks", "line 1\r\nsay \"hi\"\r\n",
     "\"line 1\r\nsay \"+" Q "+\"hi\"+" Q "+\"\r\n\""},
    {"three spaces", "   ", "\"   \""},
    {"a tab", "a\tb", "\"a\tb\""},
    // 他说"你好"
    {"Chinese with quotes", "\xCB\xFB\xCB\xB5\"\xC4\xE3\xBA\xC3\"",
     "\"\xCB\xFB\xCB\xB5\"+" Q "+\"\xC4\xE3\xBA\xC3\"+" Q},
    // 0x80 is a character of its own in code page 936; the quote after it is escaped.
    {"quote after 0x80", "x\x80\"", "\"x\x80\"+" Q},
};

class ConvertClickTest : public VelmoraTest {
protected:
    // Sets the input, clicks, and checks the output box and the clipboard.
    void convertAndCheck(const std::string& input, const std::string& expected) {
        ASSERT_TRUE(setControlText(app.input, input));
        ASSERT_EQ(controlText(app.input), input)
            << "the input box did not take the bytes as they are";
        clickAndCheck(expected);
    }

    void clickAndCheck(const std::string& expected) {
        ASSERT_TRUE(putClipboardText(kSentinel));
        ASSERT_TRUE(clickButton(app.button)) << "the click did not come back";
        EXPECT_EQ(controlText(app.output), expected);
        const auto clipboard = readClipboardText();
        ASSERT_TRUE(clipboard.has_value()) << "no CF_TEXT on the clipboard";
        EXPECT_EQ(clipboard->bytes, expected);
        EXPECT_GE(clipboard->blockSize, expected.size() + 1);
    }
};

TEST_F(ConvertClickTest, ClickWithoutTypingConvertsTheInitialText) {
    clickAndCheck(kInitialOutput);
}

TEST_F(ConvertClickTest, EachInputGivesItsExpressionInTheOutputAndOnTheClipboard) {
    for (const ConvertCase& c : kConvertCases) {
        SCOPED_TRACE(c.name);
        convertAndCheck(c.input, c.output);
        // A second click replaces the result instead of adding to it.
        clickAndCheck(c.output);
    }
}

// Where two long byte strings first differ, instead of printing a megabyte of each.
testing::AssertionResult sameBytes(const std::string& actual, const std::string& expected) {
    if (actual == expected) {
        return testing::AssertionSuccess();
    }
    std::size_t i = 0;
    while (i < actual.size() && i < expected.size() && actual[i] == expected[i]) {
        ++i;
    }
    return testing::AssertionFailure()
           << "lengths " << actual.size() << " and " << expected.size()
           << ", first difference at byte " << i << ": "
           << testing::PrintToString(actual.substr(i, 40)) << " instead of "
           << testing::PrintToString(expected.substr(i, 40));
}

TEST_F(ConvertClickTest, OneMebibyteInputIsConvertedUncut) {
    const std::string input = makeBigInput(1 << 20);
    const velmora::Text converted = velmora::convertQuotes(velmora::Text(input));
    const std::string expected(converted.view());

    ASSERT_TRUE(setControlText(app.input, input, 60s));
    const auto inputBack = controlText(app.input, 30s);
    ASSERT_TRUE(inputBack.has_value());
    ASSERT_TRUE(sameBytes(*inputBack, input)) << "the input box did not take the bytes";

    ASSERT_TRUE(putClipboardText(kSentinel));
    ASSERT_TRUE(clickButton(app.button, 60s)) << "the click did not come back";
    const auto output = controlText(app.output, 30s);
    ASSERT_TRUE(output.has_value());
    EXPECT_TRUE(sameBytes(*output, expected));

    const auto clipboard = readClipboardText();
    ASSERT_TRUE(clipboard.has_value()) << "no CF_TEXT on the clipboard";
    EXPECT_TRUE(sameBytes(clipboard->bytes, expected));
    EXPECT_GE(clipboard->blockSize, expected.size() + 1);
    RecordProperty("output_bytes", std::to_string(expected.size()));
    RecordProperty("clipboard_block_size", std::to_string(clipboard->blockSize));
    std::printf("output %zu bytes, clipboard CF_TEXT block %zu bytes\n", expected.size(),
                static_cast<std::size_t>(clipboard->blockSize));
}

TEST_F(ConvertClickTest, EmptyInputWarnsAndChangesNothing) {
    convertAndCheck("abc", "\"abc\"");
    ASSERT_TRUE(putClipboardText(kSentinel));
    ASSERT_TRUE(setControlText(app.input, ""));
    ASSERT_EQ(controlText(app.input), "");

    // The click does not return while the message box is open: post it.
    ASSERT_TRUE(PostMessageW(app.button, BM_CLICK, 0, 0));
    const auto box = waitForMessageBox(app.process.id(), 10s);
    ASSERT_TRUE(box.has_value()) << "no message box";
    EXPECT_EQ(box->title, "");
    EXPECT_EQ(box->text, kEmptyInputMessage);
    EXPECT_EQ(box->visibleButtons, 1);
    EXPECT_NE(box->okButton, nullptr);
    ASSERT_NE(box->icon, nullptr) << "the message shows no icon";
    EXPECT_TRUE(waitUntil([&] { return iconColour(box->icon) == IconColour::yellow; }, 3s))
        << "not the exclamation icon";
    EXPECT_EQ(box->owner, nullptr);
    EXPECT_FALSE(IsWindowEnabled(app.main)) << "the window takes input behind the message";
    EXPECT_EQ(controlText(app.output), "\"abc\"");
    const auto clipboard = readClipboardText();
    ASSERT_TRUE(clipboard.has_value());
    EXPECT_EQ(clipboard->bytes, kSentinel);

    ASSERT_NE(box->okButton, nullptr);
    ASSERT_TRUE(clickButton(box->okButton, 5s));
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(box->box); }, 5s));
    EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(app.main) != FALSE; }, 5s));
    // The posted click put the focus on the button; the program puts it back.
    EXPECT_TRUE(waitUntil([&] { return focusedWindow(app.main) == app.input; }, 5s))
        << "focus is on " << focusedWindow(app.main);
    EXPECT_EQ(controlText(app.output), "\"abc\"");
    EXPECT_EQ(readClipboardText().value_or(ClipboardText{}).bytes, kSentinel);
    EXPECT_TRUE(app.process.running());
}

TEST_F(ConvertClickTest, ClipboardHeldByAnotherProgramKeepsItsContent) {
    ASSERT_TRUE(putClipboardText(kSentinel));
    ASSERT_TRUE(setControlText(app.input, "a\"b"));
    {
        const ClipboardHold hold;
        ASSERT_TRUE(hold.held());
        // A message box would keep the click from coming back.
        ASSERT_TRUE(clickButton(app.button, 10s)) << "the click did not come back";
        EXPECT_EQ(controlText(app.output), "\"a\"+" Q "+\"b\"");
        EXPECT_EQ(findWindow(app.process.id(), "#32770"), nullptr) << "a message was shown";
    }
    const auto clipboard = readClipboardText();
    ASSERT_TRUE(clipboard.has_value());
    EXPECT_EQ(clipboard->bytes, kSentinel);
    EXPECT_TRUE(app.process.running());
}

// The first run of decimal digits in the text, or -1.
long long firstNumber(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(text[i]))) {
            return std::stoll(text.substr(i, text.find_first_not_of("0123456789", i) - i));
        }
    }
    return -1;
}

TEST(OutOfMemoryTest, ClickOnABigInputShowsTheErrorAndEndsWithMinusOne) {
    Velmora app = launchVelmora(L"velmora_oom_on_click.exe");
    ASSERT_NE(app.main, nullptr) << "velmora_oom_on_click.exe showed no window";
    ASSERT_TRUE(setControlText(app.input, makeBigInput(1 << 20), 60s));

    // The click never comes back: the process ends inside it.
    ASSERT_TRUE(PostMessageW(app.button, BM_CLICK, 0, 0));
    const auto box = waitForMessageBox(app.process.id(), 60s);
    ASSERT_TRUE(box.has_value()) << "no error box";
    EXPECT_EQ(box->owner, nullptr);
    EXPECT_EQ(box->visibleButtons, 1);
    ASSERT_NE(box->icon, nullptr);
    EXPECT_TRUE(waitUntil([&] { return iconColour(box->icon) == IconColour::red; }, 3s))
        << "not the error icon";
    EXPECT_GE(firstNumber(box->text), 1'000'000)
        << "the box does not name the bytes requested: " << testing::PrintToString(box->text);
    // While the box is open no event is delivered: another click must not run a second
    // conversion, which would run out of memory again and stack a second box.
    ASSERT_TRUE(PostMessageW(app.button, BM_CLICK, 0, 0));
    std::this_thread::sleep_for(1s);
    EXPECT_EQ(countWindows(app.process.id(), "#32770"), 1);

    ASSERT_NE(box->okButton, nullptr);
    clickButton(box->okButton, 5s);  // may not come back: the process ends while handling it
    EXPECT_EQ(app.process.waitForExit(10s), kFatalExitCode);
}

// Puts the original non-client metrics back, whatever the test did.
class MetricsRestorer {
public:
    explicit MetricsRestorer(const NONCLIENTMETRICSW& original) : original_(original) {}
    MetricsRestorer(const MetricsRestorer&) = delete;
    MetricsRestorer& operator=(const MetricsRestorer&) = delete;
    ~MetricsRestorer() {
        SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof original_, &original_, 0);
    }

private:
    NONCLIENTMETRICSW original_;
};

TEST(FrameSizeTest, TallerCaptionStillGivesA410By250ClientAreaAtTheSameCorner) {
    NONCLIENTMETRICSW original{};
    original.cbSize = sizeof original;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof original, &original, 0));
    const int captionBefore = GetSystemMetrics(SM_CYCAPTION);

    NONCLIENTMETRICSW taller = original;
    taller.iCaptionHeight += 17;
    const MetricsRestorer restorer(original);
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof taller, &taller, 0));
    if (GetSystemMetrics(SM_CYCAPTION) == captionBefore) {
        GTEST_SKIP() << "this system ignores a new caption height";
    }

    const Velmora app = launchVelmora();
    ASSERT_NE(app.main, nullptr);
    const RECT client = clientRect(app.main);
    EXPECT_EQ(width(client), kClientWidth);
    EXPECT_EQ(height(client), kClientHeight);
    const RECT outer = screenRect(app.main);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - kDesignedOuterWidth) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - kDesignedOuterHeight) / 2);

    // The frame really is taller than with the usual caption.
    RECT needed{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&needed, static_cast<DWORD>(GetWindowLongPtrW(app.main, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(app.main, GWL_EXSTYLE)));
    EXPECT_EQ(height(outer), height(needed));
    EXPECT_GE(height(outer) - kClientHeight, captionBefore + 17);
    std::printf("caption %d -> %d px, outer size %d x %d\n", captionBefore,
                GetSystemMetrics(SM_CYCAPTION), width(outer), height(outer));
}

}  // namespace
