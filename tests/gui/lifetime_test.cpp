// How the program starts and ends: every way of closing, minimizing, a start-up that
// fails, the command line, and two copies at once.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "tests/gui/velmora_test.h"

namespace {

using namespace gui;

constexpr DWORD kFatalExitCode = 0xFFFFFFFF;

struct CloseCase {
    const char* name;
    // How many Tabs from the input box before closing: which control has the focus.
    int tabs;
    std::function<bool(const Velmora&)> close;
};

bool postMessage(HWND window, UINT message, WPARAM w = 0) {
    return PostMessageW(window, message, w, 0) != FALSE;
}

// Sent, not posted: minimizing and restoring are done when the call returns.
bool sendSysCommand(HWND window, WPARAM command) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, WM_SYSCOMMAND, command, 0, SMTO_NORMAL, 5000, &ignored) != 0;
}

const CloseCase kCloseCases[] = {
    {"WmClose", 0, [](const Velmora& app) { return postMessage(app.main, WM_CLOSE); }},
    {"CloseButtonAndSystemMenu", 0,
     [](const Velmora& app) { return postMessage(app.main, WM_SYSCOMMAND, SC_CLOSE); }},
    {"AltF4", 0,
     [](const Velmora&) {
         return pressKeys({{VK_F4, false, true}});
     }},
    {"EscInTheInput", 0, [](const Velmora&) { return pressKeys({{VK_ESCAPE}}); }},
    {"EscInTheOutput", 1, [](const Velmora&) { return pressKeys({{VK_ESCAPE}}); }},
    {"EscOnTheButton", 2, [](const Velmora&) { return pressKeys({{VK_ESCAPE}}); }},
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const CloseCase& c, std::ostream* out) {
    *out << c.name;
}

class CloseTest : public VelmoraTest, public testing::WithParamInterface<CloseCase> {};

TEST_P(CloseTest, EndsTheProcessWithExitCodeZero) {
    const CloseCase& c = GetParam();
    ASSERT_TRUE(bringToForeground(app.main));
    HWND focusAfterTabs[] = {app.input, app.output, app.button};
    for (int i = 0; i < c.tabs; ++i) {
        ASSERT_TRUE(pressKeys({{VK_TAB}}));
    }
    ASSERT_TRUE(waitUntil([&] { return focusedWindow(app.main) == focusAfterTabs[c.tabs]; }, 5s));

    ASSERT_TRUE(c.close(app));
    EXPECT_EQ(app.process.waitForExit(10s), 0u);
    EXPECT_FALSE(IsWindow(app.main));
}

INSTANTIATE_TEST_SUITE_P(EveryWay, CloseTest, testing::ValuesIn(kCloseCases),
                         [](const auto& row) { return std::string(row.param.name); });

using LifetimeTest = VelmoraTest;

TEST_F(LifetimeTest, MinimizeAndRestoreKeepItRunningInPlace) {
    const RECT before = screenRect(app.main);
    ASSERT_TRUE(sendSysCommand(app.main, SC_MINIMIZE));
    ASSERT_TRUE(IsIconic(app.main));
    ASSERT_TRUE(sendSysCommand(app.main, SC_RESTORE));
    ASSERT_FALSE(IsIconic(app.main));

    EXPECT_TRUE(app.process.running());
    EXPECT_TRUE(IsWindowVisible(app.main));
    const RECT after = screenRect(app.main);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(width(clientRect(app.main)), kClientWidth);
    EXPECT_EQ(height(clientRect(app.main)), kClientHeight);

    ASSERT_TRUE(postMessage(app.main, WM_CLOSE));
    EXPECT_EQ(app.process.waitForExit(10s), 0u);
}

TEST_F(LifetimeTest, LoggingOffIsNotHeldUp) {
    // A question would keep the answer from coming back within the wait.
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(app.main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                    5000, &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    EXPECT_EQ(findWindow(app.process.id(), "#32770"), nullptr);
    EXPECT_TRUE(app.process.running()) << "the query alone ended the program";
}

// Waits while handling this thread's messages, which a window of the driver needs.
bool pumpUntil(const std::function<bool()>& condition, Millis timeout) {
    return waitUntil(
        [&] {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageW(&msg);
            }
            return condition();
        },
        timeout);
}

TEST_F(LifetimeTest, FocusReturnsToItsControlAfterAnotherWindowWasActive) {
    ASSERT_TRUE(bringToForeground(app.main));
    ASSERT_TRUE(pressKeys({{VK_TAB}, {VK_TAB}}));
    ASSERT_TRUE(waitUntil([&] { return focusedWindow(app.main) == app.button; }, 5s));

    // Another program's window comes to the front, then velmora's again.
    HWND other = CreateWindowExW(0, L"STATIC", L"another program", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    ShowWindow(other, SW_SHOW);
    SetForegroundWindow(other);
    const bool otherActive = pumpUntil([&] { return GetForegroundWindow() == other; }, 5s);
    const bool velmoraInactive = activeWindow(app.main) != app.main;
    SetForegroundWindow(app.main);
    const bool velmoraBack = pumpUntil([&] { return GetForegroundWindow() == app.main; }, 5s);
    DestroyWindow(other);

    ASSERT_TRUE(otherActive) << "the driver's window did not come to the front";
    EXPECT_TRUE(velmoraInactive);
    ASSERT_TRUE(velmoraBack);
    EXPECT_TRUE(waitUntil([&] { return focusedWindow(app.main) == app.button; }, 5s))
        << "focus is on " << focusedWindow(app.main) << " instead of the button " << app.button;
}

TEST(FailingStartTest, ShowsAnErrorBoxAndEndsWithMinusOne) {
    Process process = startProcess(programBesideDriver(L"velmora_failing_start.exe"));
    ASSERT_NE(process.handle(), nullptr) << "velmora_failing_start.exe did not start";
    const auto box = waitForMessageBox(process.id(), 20s);
    ASSERT_TRUE(box.has_value()) << "no error box";
    EXPECT_EQ(box->owner, nullptr) << "the error box has an owner window";
    EXPECT_FALSE(box->text.empty()) << "the error box names no cause";
    EXPECT_EQ(box->visibleButtons, 1);
    ASSERT_NE(box->okButton, nullptr);
    ASSERT_NE(box->icon, nullptr) << "the error box shows no icon";
    EXPECT_TRUE(waitUntil([&] { return iconColour(box->icon) == IconColour::red; }, 3s))
        << "not the error icon";
    EXPECT_EQ(findWindow(process.id(), "VelmoraMainWindow"), nullptr);
    EXPECT_TRUE(process.running()) << "the process ended before the box was dismissed";

    ASSERT_TRUE(clickButton(box->okButton, 5s));
    EXPECT_EQ(process.waitForExit(10s), kFatalExitCode);
}

bool operator==(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

// What a user sees of a freshly started window.
struct Appearance {
    RECT outer;
    RECT client;
    std::string caption, input, output, button;
    HWND focus;
    bool operator==(const Appearance&) const = default;
};

Appearance appearanceOf(const Velmora& app) {
    waitUntil([&] { return focusedWindow(app.main) == app.input; }, 5s);
    HWND focus = focusedWindow(app.main);
    return {screenRect(app.main),
            clientRect(app.main),
            captionText(app.main),
            controlText(app.input).value_or("?"),
            controlText(app.output).value_or("?"),
            captionText(app.button),
            focus == app.input ? nullptr : focus};
}

TEST(CommandLineTest, ArgumentsChangeNothing) {
    Appearance plain{};
    {
        const Velmora app = launchVelmora();
        ASSERT_NE(app.main, nullptr);
        plain = appearanceOf(app);
    }
    const Velmora app = launchVelmora(L"velmora.exe", L"/? --help -x \"a b\" input.txt /s");
    ASSERT_NE(app.main, nullptr) << "no window with arguments";
    EXPECT_TRUE(appearanceOf(app) == plain);
    EXPECT_EQ(controlText(app.input), kInitialInput);
    EXPECT_EQ(screenRect(app.main).left, plain.outer.left);
    EXPECT_EQ(screenRect(app.main).top, plain.outer.top);
}

TEST(TwoInstancesTest, RunIndependently) {
    Velmora first = launchVelmora();
    ASSERT_NE(first.main, nullptr);
    Velmora second = launchVelmora();
    ASSERT_NE(second.main, nullptr) << "a second start showed no window of its own";
    ASSERT_NE(first.main, second.main);

    ASSERT_TRUE(setControlText(first.input, "only the first"));
    EXPECT_EQ(controlText(second.input), kInitialInput);

    ASSERT_TRUE(postMessage(first.main, WM_CLOSE));
    EXPECT_EQ(first.process.waitForExit(10s), 0u);
    EXPECT_TRUE(second.process.running());
    EXPECT_TRUE(IsWindowVisible(second.main));
    ASSERT_TRUE(clickButton(second.button));
    EXPECT_EQ(controlText(second.output), kInitialOutput);

    ASSERT_TRUE(postMessage(second.main, WM_CLOSE));
    EXPECT_EQ(second.process.waitForExit(10s), 0u);
}

}  // namespace
