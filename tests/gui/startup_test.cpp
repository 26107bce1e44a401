// The window as it stands right after start-up, seen from outside.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "tests/gui/velmora_test.h"

namespace {

using namespace gui;

using StartupTest = VelmoraTest;

// Top-level windows always get WS_CLIPSIBLINGS, and a framed one WS_EX_WINDOWEDGE, from
// the system itself.
constexpr LONG_PTR kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                                WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VISIBLE;

// Whether WS_BORDER shows in an edit box's style depends on when it was given (an edit
// control created with it takes it out and draws the line itself), so the border is
// checked on the screen instead.
constexpr LONG_PTR kInputStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL | WS_TABSTOP |
                                 ES_WANTRETURN | ES_AUTOVSCROLL | ES_MULTILINE | ES_LEFT;
constexpr LONG_PTR kButtonStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP |
                                  BS_MULTILINE | BS_VCENTER | BS_CENTER | BS_PUSHBUTTON;

struct ControlCase {
    const char* name;
    int id;
    const char* className;
    RECT place;
    LONG_PTR style;
    std::string text;
};

const ControlCase kControls[] = {
    {"编辑框1", kInputId, "Edit", {5, 5, 405, 105}, kInputStyle, kInitialInput},
    {"编辑框2", kOutputId, "Edit", {5, 145, 405, 245}, kInputStyle | ES_READONLY, ""},
    {"按钮", kButtonId, "Button", {5, 110, 405, 140}, kButtonStyle, "Velmora"},
};

bool isWhite(COLORREF c) {
    return c == RGB(255, 255, 255);
}

// The brightest of the three channels: 0 only for black.
int brightness(COLORREF c) {
    return std::max({GetRValue(c), GetGValue(c), GetBValue(c)});
}

TEST_F(StartupTest, WindowOpensAtTheCentredStartWithA410By250ClientArea) {
    // Signed division truncating toward zero, for the designed outer size.
    const int x = (GetSystemMetrics(SM_CXSCREEN) - kDesignedOuterWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kDesignedOuterHeight) / 2;
    const RECT outer = screenRect(app.main);
    EXPECT_EQ(outer.left, x);
    EXPECT_EQ(outer.top, y);

    const RECT client = clientRect(app.main);
    EXPECT_EQ(width(client), kClientWidth);
    EXPECT_EQ(height(client), kClientHeight);

    // The outer size is what the frame needs around that client area, not the designed one.
    RECT needed{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&needed, static_cast<DWORD>(GetWindowLongPtrW(app.main, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(app.main, GWL_EXSTYLE)));
    EXPECT_EQ(width(outer), width(needed));
    EXPECT_EQ(height(outer), height(needed));
    EXPECT_FALSE(IsIconic(app.main));
    EXPECT_FALSE(IsZoomed(app.main));
}

TEST_F(StartupTest, WindowHasItsClassStylesAndCaption) {
    EXPECT_EQ(className(app.main), "VelmoraMainWindow");
    EXPECT_EQ(captionText(app.main), "Velmora");
    EXPECT_EQ(GetWindowLongPtrW(app.main, GWL_STYLE), kMainStyle);
    EXPECT_EQ(GetWindowLongPtrW(app.main, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
    EXPECT_EQ(GetClassLongPtrW(app.main, GCL_STYLE), CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS);
    EXPECT_EQ(GetWindow(app.main, GW_OWNER), nullptr) << "an owned window has no taskbar button";
    EXPECT_TRUE(IsWindowEnabled(app.main));
}

TEST_F(StartupTest, WindowHasABigAndASmallIcon) {
    DWORD_PTR big = 0;
    DWORD_PTR small = 0;
    // Wine does not pass WM_GETICON to another process: the send itself fails there,
    // which is not the program's doing (a window without an icon answers null).
    if (!SendMessageTimeoutW(app.main, WM_GETICON, ICON_BIG, 0, SMTO_NORMAL, 5000, &big)) {
        GTEST_SKIP() << "WM_GETICON cannot be sent to another process on this system";
    }
    ASSERT_TRUE(
        SendMessageTimeoutW(app.main, WM_GETICON, ICON_SMALL, 0, SMTO_NORMAL, 5000, &small));
    EXPECT_NE(big, 0u);
    EXPECT_NE(small, 0u);
    EXPECT_NE(big, small) << "the small icon is its own 16 px picture";
}

TEST_F(StartupTest, ControlsHaveTheirPlacesStylesAndTexts) {
    for (const ControlCase& c : kControls) {
        SCOPED_TRACE(c.name);
        HWND control = GetDlgItem(app.main, c.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(GetDlgCtrlID(control), c.id);
        EXPECT_EQ(GetParent(control), app.main);
        EXPECT_EQ(className(control), c.className);
        const RECT place = rectInParent(control);
        EXPECT_EQ(place.left, c.place.left);
        EXPECT_EQ(place.top, c.place.top);
        EXPECT_EQ(place.right, c.place.right);
        EXPECT_EQ(place.bottom, c.place.bottom);
        EXPECT_EQ(GetWindowLongPtrW(control, GWL_STYLE) & ~WS_BORDER, c.style);
        EXPECT_EQ(GetWindowLongPtrW(control, GWL_EXSTYLE), 0);
        EXPECT_TRUE(IsWindowEnabled(control));
        EXPECT_EQ(controlText(control), c.text);
    }
}

TEST_F(StartupTest, ButtonIsOnTopOfTheStackThenTheOutputThenTheInput) {
    HWND first = GetWindow(app.main, GW_CHILD);
    EXPECT_EQ(first, app.button);
    HWND second = GetWindow(first, GW_HWNDNEXT);
    EXPECT_EQ(second, app.output);
    HWND third = GetWindow(second, GW_HWNDNEXT);
    EXPECT_EQ(third, app.input);
    EXPECT_EQ(GetWindow(third, GW_HWNDNEXT), nullptr);
}

TEST_F(StartupTest, InputHasTheFocusWithTheCaretBeforeItsFirstCharacter) {
    EXPECT_TRUE(waitUntil([&] { return focusedWindow(app.main) == app.input; }, 5s));
    EXPECT_EQ(focusedWindow(app.main), app.input);
    EXPECT_EQ(activeWindow(app.main), app.main);
    EXPECT_EQ(GetForegroundWindow(), app.main);
    EXPECT_EQ(editSelection(app.input), std::make_pair(0, 0));
    EXPECT_EQ(editSelection(app.output), std::make_pair(0, 0));
}

TEST_F(StartupTest, BackgroundAndBothBoxesAreWhiteWithBorders) {
    POINT origin{0, 0};
    ClientToScreen(app.main, &origin);
    const auto screenPoint = [&](int x, int y) { return POINT{origin.x + x, origin.y + y}; };
    // Blank spots: the margins and gaps of the client area, and the boxes' interiors away
    // from the input's short text.
    const struct {
        const char* what;
        POINT client;
    } kWhite[] = {
        {"client margin top left", {2, 2}},
        {"client margin bottom right", {407, 247}},
        {"gap above the button", {200, 107}},
        {"gap below the button", {200, 142}},
        {"right margin", {407, 125}},
        {"input box interior", {200, 80}},
        {"read-only output box interior", {200, 200}},
        {"output box near its top", {100, 150}},
    };
    const RECT area = screenRect(app.main);
    // The window and its boxes paint some time after they are shown; wait until every
    // blank spot has been painted, then look at one picture of it.
    waitUntil(
        [&] {
            const ScreenShot shot(area);
            for (const auto& spot : kWhite) {
                const POINT p = screenPoint(spot.client.x, spot.client.y);
                if (!isWhite(shot.at(p.x, p.y))) {
                    return false;
                }
            }
            return true;
        },
        5s);
    std::this_thread::sleep_for(100ms);  // the text after the background

    const ScreenShot shot(area);
    ASSERT_TRUE(shot.ok()) << "could not read the screen";
    for (const auto& spot : kWhite) {
        SCOPED_TRACE(spot.what);
        const POINT p = screenPoint(spot.client.x, spot.client.y);
        EXPECT_EQ(shot.at(p.x, p.y), RGB(255, 255, 255));
    }
    // A single-line border: the outermost pixels of each box are drawn, the ones just inside
    // are already the white interior (a sunken or double edge would be darker there).
    for (HWND box : {app.input, app.output}) {
        const RECT r = rectInParent(box);
        const POINT top = screenPoint((r.left + r.right) / 2 - 50, r.top);
        const POINT left = screenPoint(r.left, (r.top + r.bottom) / 2);
        EXPECT_FALSE(isWhite(shot.at(top.x, top.y))) << "no border line at the top";
        EXPECT_FALSE(isWhite(shot.at(left.x, left.y))) << "no border line at the left";
        const POINT inside = screenPoint(r.left + 1, (r.top + r.bottom) / 2);
        EXPECT_TRUE(isWhite(shot.at(inside.x, inside.y))) << "border thicker than one pixel";
    }
    // The initial text is drawn in black at the input box's top left.
    int darkest = 255;
    for (int y = 6; y < 25; ++y) {
        for (int x = 6; x < 60; ++x) {
            const POINT p = screenPoint(x, y);
            darkest = std::min(darkest, brightness(shot.at(p.x, p.y)));
        }
    }
    EXPECT_LT(darkest, 0x40) << "no black text in the input box";
}

}  // namespace
