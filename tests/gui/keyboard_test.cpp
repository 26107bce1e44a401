// The keyboard with real input: keys typed through SendInput reach the focused control.
#include <gtest/gtest.h>

#include "tests/gui/velmora_test.h"

namespace {

using namespace gui;

class KeyboardTest : public VelmoraTest {
protected:
    void SetUp() override {
        VelmoraTest::SetUp();
        ASSERT_TRUE(bringToForeground(app.main)) << "velmora's window is not in the foreground";
        ASSERT_TRUE(waitUntil([&] { return focusedWindow(app.main) == app.input; }, 5s));
    }

    // Types the keys and waits until the focus is where it should then be; the focus
    // moving also proves that every key before it has been handled.
    bool typeAndExpectFocus(std::initializer_list<Key> keys, HWND expected) {
        return pressKeys(keys) &&
               waitUntil([&] { return focusedWindow(app.main) == expected; }, 5s);
    }
};

const Key kTab{VK_TAB};
const Key kShiftTab{VK_TAB, true};
const Key kEnter{VK_RETURN};
const Key kSpace{VK_SPACE};

TEST_F(KeyboardTest, TabCyclesForwardAndShiftTabBackwardWithoutTouchingTheText) {
    // A selection of the input's own must survive the round trip: moving the focus
    // selects nothing and keeps what the box had.
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(SendMessageTimeoutW(app.input, EM_SETSEL, 1, 3, SMTO_NORMAL, 5000, &ignored));

    struct Step {
        Key key;
        HWND focus;
        const char* name;
    };
    const Step steps[] = {
        {kTab, app.output, "Tab to 编辑框2"},
        {kTab, app.button, "Tab to 按钮"},
        {kTab, app.input, "Tab back to 编辑框1"},
        {kShiftTab, app.button, "Shift+Tab to 按钮"},
        {kShiftTab, app.output, "Shift+Tab to 编辑框2"},
        {kShiftTab, app.input, "Shift+Tab back to 编辑框1"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        ASSERT_TRUE(typeAndExpectFocus({step.key}, step.focus))
            << "focus is on " << focusedWindow(app.main);
    }
    EXPECT_EQ(controlText(app.input), kInitialInput) << "a tab was typed into the box";
    EXPECT_EQ(controlText(app.output), "");
    EXPECT_EQ(editSelection(app.input), std::make_pair(1, 3));
    EXPECT_EQ(editSelection(app.output), std::make_pair(0, 0));
}

TEST_F(KeyboardTest, EnterInTheInputInsertsALineBreakAtTheCaret) {
    ASSERT_TRUE(pressKeys({kEnter}));
    const std::string expected = "\r\n" + kInitialInput;
    EXPECT_TRUE(waitUntil([&] { return controlText(app.input) == expected; }, 5s))
        << "input holds " << testing::PrintToString(controlText(app.input));
    EXPECT_EQ(focusedWindow(app.main), app.input) << "Enter moved the focus";
    EXPECT_EQ(controlText(app.output), "") << "Enter clicked the button";
}

TEST_F(KeyboardTest, EnterOnTheOutputOrTheButtonDoesNothing) {
    // Enter, then Tab: once the Tab has moved the focus, the Enter before it was handled.
    ASSERT_TRUE(typeAndExpectFocus({kTab}, app.output));
    ASSERT_TRUE(typeAndExpectFocus({kEnter, kTab}, app.button));
    ASSERT_TRUE(typeAndExpectFocus({kEnter, kTab}, app.input));
    EXPECT_EQ(controlText(app.output), "") << "Enter clicked the button";
    EXPECT_EQ(controlText(app.input), kInitialInput);
}

TEST_F(KeyboardTest, SpaceOnTheButtonConvertsTheInput) {
    const DWORD before = GetClipboardSequenceNumber();
    ASSERT_TRUE(typeAndExpectFocus({kTab, kTab}, app.button));
    ASSERT_TRUE(pressKeys({kSpace}));
    EXPECT_TRUE(waitUntil([&] { return controlText(app.output) == kInitialOutput; }, 5s))
        << "output holds " << testing::PrintToString(controlText(app.output));
    EXPECT_TRUE(waitUntil([&] { return GetClipboardSequenceNumber() != before; }, 5s));
    const auto clipboard = readClipboardText();
    ASSERT_TRUE(clipboard.has_value());
    EXPECT_EQ(clipboard->bytes, kInitialOutput);
}

TEST_F(KeyboardTest, ReadOnlyOutputCanBeSelectedAndCopied) {
    ASSERT_TRUE(clickButton(app.button));  // leaves the focus on the button
    ASSERT_EQ(controlText(app.output), kInitialOutput);
    const std::string sentinel = "not copied yet";
    ASSERT_TRUE(putClipboardText(sentinel));

    ASSERT_TRUE(typeAndExpectFocus({kShiftTab}, app.output));
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(SendMessageTimeoutW(app.output, EM_SETSEL, 0, -1, SMTO_NORMAL, 5000, &ignored));
    ASSERT_TRUE(pressKeys({{'C', false, false, true}}));
    EXPECT_TRUE(waitUntil(
        [&] { return readClipboardText().value_or(ClipboardText{}).bytes == kInitialOutput; }, 5s))
        << "clipboard holds "
        << testing::PrintToString(readClipboardText().value_or(ClipboardText{}).bytes);
    EXPECT_EQ(controlText(app.output), kInitialOutput);
}

}  // namespace
