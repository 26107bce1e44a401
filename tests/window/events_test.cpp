// Loading the window, event delivery and the window's key handling, in this process.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <vector>

#include "app/program.h"
#include "tests/window/window_fixture.h"
#include "ui/main_window.h"

namespace velmora::testing {
namespace {

void clickButton() {
    SendMessageA(mainWindow.window, WM_COMMAND, MAKEWPARAM(120, BN_CLICKED),
                 reinterpret_cast<LPARAM>(mainWindow.按钮.handle));
}

TEST(LoadMainWindow, ShowsTheSizedWindowWithTheFocusInTheInputBox) {
    ASSERT_TRUE(loadMainWindow());
    const HWND window = mainWindow.window;
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(mainWindow.eventsHeldBack);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 410);
    EXPECT_EQ(client.bottom, 250);
    EXPECT_EQ(GetFocus(), mainWindow.编辑框1.handle);
    DWORD start = 1;
    DWORD end = 1;
    SendMessageA(mainWindow.编辑框1.handle, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 0u);
    EXPECT_EQ(windowText(mainWindow.编辑框2.handle), "") << "nothing was clicked while loading";
    DestroyWindow(window);
    pumpMessages();
}

// What the main window measured each time it was about to be shown, seen by a hook.
std::vector<RECT> clientAreasWhenShown;

LRESULT CALLBACK recordShowing(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_SHOWWINDOW && call->wParam == TRUE &&
        call->hwnd == mainWindow.window) {
        RECT client{};
        GetClientRect(call->hwnd, &client);
        clientAreasWhenShown.push_back(client);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(LoadMainWindow, WindowIsShownOnceAndAlreadyAtItsFinalSize) {
    clientAreasWhenShown.clear();
    const HHOOK hook =
        SetWindowsHookExA(WH_CALLWNDPROC, recordShowing, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    const bool loaded = loadMainWindow();
    UnhookWindowsHookEx(hook);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(clientAreasWhenShown.size(), 1u);
    EXPECT_EQ(clientAreasWhenShown[0].right, 410);
    EXPECT_EQ(clientAreasWhenShown[0].bottom, 250);
    DestroyWindow(mainWindow.window);
    pumpMessages();
}

class EventTest : public MainWindowTest {};

TEST_F(EventTest, ClickReachesTheHandlerOnlyWhenEventsAreDelivered) {
    mainWindow.eventsHeldBack = true;
    clickButton();
    EXPECT_EQ(windowText(mainWindow.编辑框2.handle), "");

    mainWindow.eventsHeldBack = false;
    clickButton();
    EXPECT_EQ(windowText(mainWindow.编辑框2.handle), "\".3\"+#\xD2\xFD\xBA\xC5+\",\"");
}

TEST_F(EventTest, WindowAgreesToEndTheSessionAndClosesWithoutAsking) {
    EXPECT_EQ(SendMessageA(mainWindow.window, WM_QUERYENDSESSION, 0, 0), TRUE);
    const HWND window = mainWindow.window;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    MSG quit{};
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}

// One shown window for all key tests: showing a window under Wine takes seconds. Each
// test starts with every control visible and enabled, the focus in the input box.
class KeyTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(buildMainWindow(mainWindow));
        mainWindow.eventsHeldBack = false;
        ShowWindow(mainWindow.window, SW_SHOW);
        pumpMessages();
    }
    static void TearDownTestSuite() {
        if (mainWindow.window) {
            DestroyWindow(mainWindow.window);
        }
        pumpMessages();
    }
    void SetUp() override {
        ASSERT_NE(mainWindow.window, nullptr);
        for (HWND control : controls()) {
            EnableWindow(control, TRUE);
            ShowWindow(control, SW_SHOWNA);
        }
        SetFocus(mainWindow.编辑框1.handle);
    }
    void TearDown() override { setShift(false); }

    static void setShift(bool down) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = down ? 0x80 : 0;
        SetKeyboardState(keys);
    }
    static bool press(HWND target, WPARAM key, UINT message = WM_KEYDOWN) {
        const MSG msg{target, message, key, 0, 0, {}};
        return handleWindowKey(mainWindow, msg);
    }
    static std::array<HWND, 3> controls() {
        return {mainWindow.编辑框1.handle, mainWindow.编辑框2.handle, mainWindow.按钮.handle};
    }
};

TEST_F(KeyTest, TabCyclesForwardAndShiftTabBackward) {
    const auto c = controls();
    struct Case {
        bool shift;
        int from;
        int to;
    };
    const Case cases[] = {{false, 0, 1}, {false, 1, 2}, {false, 2, 0},
                          {true, 0, 2},  {true, 2, 1},  {true, 1, 0}};
    for (const auto& [shift, from, to] : cases) {
        SCOPED_TRACE(::testing::Message() << (shift ? "shift+tab from " : "tab from ") << from);
        SetFocus(c[static_cast<std::size_t>(from)]);
        setShift(shift);
        EXPECT_TRUE(press(c[static_cast<std::size_t>(from)], VK_TAB)) << "tab goes no further";
        EXPECT_EQ(GetFocus(), c[static_cast<std::size_t>(to)]);
    }
}

TEST_F(KeyTest, TabSkipsDisabledAndHiddenControls) {
    EnableWindow(mainWindow.编辑框2.handle, FALSE);
    SetFocus(mainWindow.编辑框1.handle);
    press(mainWindow.编辑框1.handle, VK_TAB);
    EXPECT_EQ(GetFocus(), mainWindow.按钮.handle);

    EnableWindow(mainWindow.编辑框2.handle, TRUE);
    ShowWindow(mainWindow.按钮.handle, SW_HIDE);
    SetFocus(mainWindow.编辑框2.handle);
    press(mainWindow.编辑框2.handle, VK_TAB);
    EXPECT_EQ(GetFocus(), mainWindow.编辑框1.handle);
}

TEST_F(KeyTest, TabLeavesTheBoxTextAndSelectionAlone) {
    const HWND box = mainWindow.编辑框1.handle;
    SetFocus(box);
    SendMessageA(box, EM_SETSEL, 1, 3);
    press(box, VK_TAB);
    SetFocus(box);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 3u);
    EXPECT_EQ(windowText(box), "\x2E\x33\x22\x2C");
}

TEST_F(KeyTest, OtherKeysAndMessagesGoOnUnchanged) {
    const HWND input = mainWindow.编辑框1.handle;
    EXPECT_FALSE(press(input, VK_RETURN)) << "the input box makes its own line break";
    EXPECT_FALSE(press(mainWindow.按钮.handle, VK_RETURN));
    EXPECT_FALSE(press(mainWindow.编辑框2.handle, VK_RETURN));
    EXPECT_FALSE(press(input, VK_SPACE));
    EXPECT_FALSE(press(input, 'A'));
    EXPECT_FALSE(press(input, VK_F4, WM_SYSKEYDOWN)) << "Alt+F4 is the system's";
    EXPECT_FALSE(press(input, VK_TAB, WM_KEYUP));
    EXPECT_FALSE(press(nullptr, VK_ESCAPE)) << "not our window";
    EXPECT_TRUE(IsWindow(mainWindow.window));
}

// Esc asks the window to close, whichever control has the focus; what closing does is
// the window's own (WindowAgreesToEndTheSessionAndClosesWithoutAsking).
int closeRequests = 0;
WNDPROC originalProcedure = nullptr;

LRESULT CALLBACK countingCloseProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ++closeRequests;
        return 0;
    }
    return CallWindowProcA(originalProcedure, window, message, wParam, lParam);
}

TEST_F(KeyTest, EscapeAsksTheWindowToCloseFromAnyControl) {
    const HWND window = mainWindow.window;
    originalProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(countingCloseProcedure)));
    for (HWND control : controls()) {
        closeRequests = 0;
        SetFocus(control);
        EXPECT_TRUE(press(control, VK_ESCAPE));
        EXPECT_EQ(closeRequests, 1);
    }
    setShift(true);
    closeRequests = 0;
    EXPECT_FALSE(press(mainWindow.编辑框1.handle, VK_ESCAPE)) << "Shift+Esc is not Esc";
    EXPECT_EQ(closeRequests, 0);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(originalProcedure));
}

TEST_F(KeyTest, ReactivationGivesTheFocusBackToTheControlThatHadIt) {
    SetFocus(mainWindow.按钮.handle);
    const HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                       100, 100, nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(other);
    pumpMessages();
    ASSERT_NE(GetActiveWindow(), mainWindow.window);

    SetActiveWindow(mainWindow.window);
    pumpMessages();
    EXPECT_EQ(GetFocus(), mainWindow.按钮.handle);
    DestroyWindow(other);
}

}  // namespace
}  // namespace velmora::testing
