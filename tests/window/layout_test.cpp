// What only the process itself can see of the layout: the fonts and brushes the controls
// own, the colours the boxes are given, and that all of it is released with the window.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "tests/window/window_fixture.h"

namespace velmora::testing {
namespace {

struct NamedControl {
    const char* name;
    HWND handle;
};

std::vector<NamedControl> allControls() {
    return {{"input", mainWindow.编辑框1.handle},
            {"output", mainWindow.编辑框2.handle},
            {"button", mainWindow.按钮.handle}};
}

HFONT fontOf(HWND control) {
    return reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
}

struct ColourAnswer {
    HBRUSH brush;
    COLORREF text;
    COLORREF background;
    int mode;
};

// Asks the window for a box's colours as the box itself would while painting.
ColourAnswer askColours(HWND box, UINT message) {
    const HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    SetBkMode(dc, TRANSPARENT);
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageA(
        mainWindow.window, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(box)));
    ColourAnswer answer{brush, GetTextColor(dc), GetBkColor(dc), GetBkMode(dc)};
    DeleteDC(dc);
    return answer;
}

TEST_F(MainWindowTest, EachControlHasTheDescribedFont) {
    for (const auto& [name, control] : allControls()) {
        SCOPED_TRACE(name);
        LOGFONTA font{};
        ASSERT_EQ(GetObjectA(fontOf(control), sizeof font, &font), int{sizeof font});
        EXPECT_EQ(font.lfHeight, -12);
        EXPECT_EQ(font.lfWidth, 0);
        EXPECT_EQ(font.lfEscapement, 0);
        EXPECT_EQ(font.lfOrientation, 0);
        EXPECT_EQ(font.lfWeight, 400);
        EXPECT_EQ(font.lfItalic, 0);
        EXPECT_EQ(font.lfUnderline, 0);
        EXPECT_EQ(font.lfStrikeOut, 0);
        EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);
        EXPECT_EQ(font.lfOutPrecision, OUT_DEFAULT_PRECIS);
        EXPECT_EQ(font.lfClipPrecision, CLIP_DEFAULT_PRECIS);
        EXPECT_EQ(font.lfQuality, PROOF_QUALITY);
        EXPECT_EQ(font.lfPitchAndFamily, DEFAULT_PITCH);
        EXPECT_STREQ(font.lfFaceName, "YaHei Consolas Hybrid");
    }
}

TEST_F(MainWindowTest, TheWindowItselfHasTheStockGuiFont) {
    EXPECT_EQ(fontOf(mainWindow.window), GetStockObject(DEFAULT_GUI_FONT));
}

TEST_F(MainWindowTest, ControlFontsAreDistinctAndNotTheStockFont) {
    const HFONT input = fontOf(mainWindow.编辑框1.handle);
    const HFONT output = fontOf(mainWindow.编辑框2.handle);
    const HFONT button = fontOf(mainWindow.按钮.handle);
    EXPECT_NE(input, output);
    EXPECT_NE(input, button);
    EXPECT_NE(output, button);
    for (HFONT font : {input, output, button}) {
        EXPECT_NE(font, GetStockObject(DEFAULT_GUI_FONT));
    }
}

// The editable box asks with WM_CTLCOLOREDIT, the read-only one with WM_CTLCOLORSTATIC;
// both must come out black on opaque white, each with a white brush of its own.
TEST_F(MainWindowTest, BothBoxesAreBlackOnOpaqueWhite) {
    struct Case {
        const char* name;
        HWND box;
        UINT message;
    };
    const Case cases[] = {{"input", mainWindow.编辑框1.handle, WM_CTLCOLOREDIT},
                          {"output", mainWindow.编辑框2.handle, WM_CTLCOLORSTATIC}};
    for (const auto& [name, box, message] : cases) {
        SCOPED_TRACE(name);
        const ColourAnswer answer = askColours(box, message);
        EXPECT_EQ(answer.text, RGB(0, 0, 0));
        EXPECT_EQ(answer.background, RGB(255, 255, 255));
        EXPECT_EQ(answer.mode, OPAQUE);
        LOGBRUSH brush{};
        ASSERT_EQ(GetObjectA(answer.brush, sizeof brush, &brush), int{sizeof brush});
        EXPECT_EQ(brush.lbStyle, UINT{BS_SOLID});
        EXPECT_EQ(brush.lbColor, RGB(255, 255, 255));
        EXPECT_NE(answer.brush, GetStockObject(WHITE_BRUSH)) << "the box owns its brush";
        EXPECT_EQ(askColours(box, message).brush, answer.brush) << "the same brush every time";
    }
    EXPECT_NE(askColours(mainWindow.编辑框1.handle, WM_CTLCOLOREDIT).brush,
              askColours(mainWindow.编辑框2.handle, WM_CTLCOLORSTATIC).brush);
}

TEST_F(MainWindowTest, FontsBrushesAndIconsAreReleasedWithTheWindow) {
    std::vector<HGDIOBJ> objects;
    for (const auto& control : allControls()) {
        objects.push_back(fontOf(control.handle));
    }
    objects.push_back(askColours(mainWindow.编辑框1.handle, WM_CTLCOLOREDIT).brush);
    objects.push_back(askColours(mainWindow.编辑框2.handle, WM_CTLCOLORSTATIC).brush);
    const auto bigIcon =
        reinterpret_cast<HICON>(SendMessageA(mainWindow.window, WM_GETICON, ICON_BIG, 0));
    const auto smallIcon =
        reinterpret_cast<HICON>(SendMessageA(mainWindow.window, WM_GETICON, ICON_SMALL, 0));
    ASSERT_NE(bigIcon, nullptr);
    ASSERT_NE(smallIcon, nullptr);
    for (HGDIOBJ object : objects) {
        ASSERT_NE(GetObjectType(object), DWORD{0}) << "alive while the window lives";
    }

    DestroyWindow(mainWindow.window);
    pumpMessages();

    for (HGDIOBJ object : objects) {
        EXPECT_EQ(GetObjectType(object), DWORD{0});
    }
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(bigIcon, &info));
    EXPECT_FALSE(GetIconInfo(smallIcon, &info));
    EXPECT_NE(GetObjectType(GetStockObject(DEFAULT_GUI_FONT)), DWORD{0}) << "stock font kept";
    EXPECT_EQ(mainWindow.window, nullptr);
}

TEST_F(MainWindowTest, IconsAreTheProgramIconAtBigAndSmallSize) {
    struct Case {
        WPARAM which;
        LONG size;
    };
    for (const auto& [which, size] : {Case{ICON_BIG, 32}, Case{ICON_SMALL, 16}}) {
        const auto icon =
            reinterpret_cast<HICON>(SendMessageA(mainWindow.window, WM_GETICON, which, 0));
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP colour{};
        GetObjectA(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, size);
        EXPECT_EQ(colour.bmHeight, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

}  // namespace
}  // namespace velmora::testing
