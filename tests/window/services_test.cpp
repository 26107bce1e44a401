// The window services and the sizing handler, run against a real window in this process.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "tests/window/window_fixture.h"
#include "text/text.h"
#include "ui/handlers.h"
#include "ui/window_services.h"

namespace velmora::testing {
namespace {

std::string bytesOf(const Text& text) {
    return std::string(text.view());
}

// A big input as the user would paste it: short lines (the edit box is slow on long
// ones), a quote in each.
std::string bigText(std::size_t size) {
    std::string text;
    while (text.size() < size) {
        text += "abc\"\xD6\xD0\xCE\xC4 0123456789 0123456789 0123456789 0123456789 xyz\r\n";
    }
    text.resize(size);
    return text;
}

// Counts the content-changed notifications the box itself receives.
int enChangeCount = 0;
WNDPROC originalBoxProcedure = nullptr;

LRESULT CALLBACK countingBoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        ++enChangeCount;
    }
    return CallWindowProcA(originalBoxProcedure, box, message, wParam, lParam);
}

// Records the sizes that SetWindowPos asks the main window for.
std::vector<WINDOWPOS> positionRequests;
WNDPROC originalWindowProcedure = nullptr;

LRESULT CALLBACK recordingWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WINDOWPOSCHANGING) {
        positionRequests.push_back(*reinterpret_cast<const WINDOWPOS*>(lParam));
    }
    return CallWindowProcA(originalWindowProcedure, window, message, wParam, lParam);
}

WNDPROC subclass(HWND window, WNDPROC procedure) {
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

struct ClipboardText {
    bool present = false;
    std::string bytes;
    SIZE_T blockSize = 0;
};

ClipboardText readClipboardText() {
    ClipboardText result;
    if (!OpenClipboard(nullptr)) {
        ADD_FAILURE() << "clipboard busy";
        return result;
    }
    if (const HANDLE block = GetClipboardData(CF_TEXT)) {
        result.present = true;
        result.blockSize = GlobalSize(block);
        const auto* bytes = static_cast<const char*>(GlobalLock(block));
        result.bytes.assign(bytes, strnlen(bytes, result.blockSize));
        GlobalUnlock(block);
    }
    CloseClipboard();
    return result;
}

void putOnClipboard(const std::string& bytes) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1);
    std::memcpy(GlobalLock(block), bytes.c_str(), bytes.size() + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

class ServicesTest : public MainWindowTest {};

TEST_F(ServicesTest, ControlTextRoundTripsWholeAndUncut) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"ascii with quotes", "a\"b\"c"},
        {"code page 936 with quotes", "\xD6\xD0\xCE\xC4\"\xD2\xFD\xBA\xC5\""},  // 中文"引号"
        {"line breaks", "one\r\ntwo\r\n\r\nthree"},
        {"three spaces", "   "},
        {"longer than a line wraps", std::string(300, 'w')},
        {"one mebibyte", bigText(1 << 20)},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        for (HWND box : {mainWindow.编辑框1.handle, mainWindow.编辑框2.handle}) {
            setControlText(box, Text(bytes));
            const Text read = getControlText(box);
            EXPECT_EQ(read.size(), static_cast<std::int32_t>(bytes.size()));
            EXPECT_TRUE(bytesOf(read) == bytes) << "text differs";
            EXPECT_EQ(windowText(box), bytes) << "the box holds exactly the text";
        }
    }
}

// A window may promise more bytes than it then copies (the length can count a two-byte
// character twice); the text read is what was copied, not the promise.
LRESULT CALLBACK overstatingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETTEXTLENGTH) {
        return 10;
    }
    if (message == WM_GETTEXT && wParam >= 5) {
        std::memcpy(reinterpret_cast<char*>(lParam),
                    "\xD6\xD0"
                    "ab",
                    5);
        return 4;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(ControlText, LengthThatOverstatesIsCutToWhatWasCopied) {
    WNDCLASSA overstating{};
    overstating.lpfnWndProc = overstatingProcedure;
    overstating.hInstance = GetModuleHandleA(nullptr);
    overstating.lpszClassName = "VelmoraTestOverstating";
    RegisterClassA(&overstating);
    const HWND window = CreateWindowExA(0, overstating.lpszClassName, "", 0, 0, 0, 1, 1, nullptr,
                                        nullptr, overstating.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    const Text text = getControlText(window);
    EXPECT_EQ(text.size(), 4);
    EXPECT_EQ(bytesOf(text),
              "\xD6\xD0"
              "ab");
    DestroyWindow(window);
}

TEST_F(ServicesTest, EmptyBoxGivesTheMissingTextAndMissingTextEmptiesTheBox) {
    const HWND box = mainWindow.编辑框1.handle;
    setControlText(box, Text());
    EXPECT_EQ(windowText(box), "");
    EXPECT_TRUE(getControlText(box).empty());
}

TEST_F(ServicesTest, SetControlTextRaisesContentChangedOnceEvenForTheSameText) {
    const HWND box = mainWindow.编辑框2.handle;
    originalBoxProcedure = subclass(box, countingBoxProcedure);
    for (const char* text : {"first", "first", ""}) {
        SCOPED_TRACE(text);
        enChangeCount = 0;
        setControlText(box, Text(text));
        EXPECT_EQ(enChangeCount, 1);
    }
    subclass(box, originalBoxProcedure);
}

// The size asked of SetWindowPos, seen before the system applies its own limits.
TEST_F(ServicesTest, OuterSizeIsClampedAndAskedForWithResizeOnlyFlags) {
    struct Case {
        std::int32_t asked;
        int expected;
    };
    const Case cases[] = {{INT32_MIN, 0}, {-5, 0},        {0, 0},         {300, 300},
                          {32627, 32627}, {32628, 32627}, {100000, 32627}};
    const HWND window = mainWindow.window;
    originalWindowProcedure = subclass(window, recordingWindowProcedure);
    for (const auto& [asked, expected] : cases) {
        SCOPED_TRACE(asked);
        MoveWindow(window, 10, 20, 500, 300, FALSE);

        positionRequests.clear();
        setOuterWidth(window, asked);
        ASSERT_EQ(positionRequests.size(), 1u);
        EXPECT_EQ(positionRequests[0].cx, expected);
        EXPECT_EQ(positionRequests[0].cy, 300);
        EXPECT_EQ(positionRequests[0].flags & 0x16u, 0x16u);

        MoveWindow(window, 10, 20, 500, 300, FALSE);
        positionRequests.clear();
        setOuterHeight(window, asked);
        ASSERT_EQ(positionRequests.size(), 1u);
        EXPECT_EQ(positionRequests[0].cx, 500);
        EXPECT_EQ(positionRequests[0].cy, expected);
        EXPECT_EQ(positionRequests[0].flags & 0x16u, 0x16u);
    }
    subclass(window, originalWindowProcedure);
}

TEST_F(ServicesTest, SizeGettersMeasureClientAndOuterRectangles) {
    MoveWindow(mainWindow.window, 10, 20, 500, 300, FALSE);
    RECT client{};
    GetClientRect(mainWindow.window, &client);
    EXPECT_EQ(getOuterWidth(mainWindow.window), 500);
    EXPECT_EQ(getOuterHeight(mainWindow.window), 300);
    EXPECT_EQ(getClientWidth(mainWindow.window), client.right);
    EXPECT_EQ(getClientHeight(mainWindow.window), client.bottom);
    EXPECT_LT(getClientHeight(mainWindow.window), 300) << "the caption is not client area";
}

// Whatever outer size the window starts with, the handler leaves a 410 x 250 client
// area and the top-left corner where it was, with one resize for each direction.
TEST_F(ServicesTest, CreationHandlerSizesTheClientAreaAndKeepsTheCorner) {
    RECT frame{0, 0, 410, 250};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(mainWindow.window, GWL_STYLE)),
                       FALSE, 0);
    struct Case {
        const char* name;
        int width;
        int height;
    };
    const Case cases[] = {
        {"designed size", 525, 336},
        {"smaller than needed", 200, 120},
        {"already right", frame.right - frame.left, frame.bottom - frame.top},
    };
    const HWND window = mainWindow.window;
    originalWindowProcedure = subclass(window, recordingWindowProcedure);
    for (const auto& [name, width, height] : cases) {
        SCOPED_TRACE(name);
        MoveWindow(window, 37, 41, width, height, FALSE);
        positionRequests.clear();

        onMainWindowCreated();

        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, 410);
        EXPECT_EQ(client.bottom, 250);
        RECT outer{};
        GetWindowRect(window, &outer);
        EXPECT_EQ(outer.left, 37);
        EXPECT_EQ(outer.top, 41);
        EXPECT_EQ(positionRequests.size(), 2u) << "both sizes written, even unchanged";
    }
    subclass(window, originalWindowProcedure);
}

TEST_F(ServicesTest, ClipboardGetsExactlyTheBytesAndOneZero) {
    const std::string cases[] = {"", "\"a\"+#\xD2\xFD\xBA\xC5", "line\r\nbreak", bigText(1 << 20)};
    for (const auto& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        putOnClipboard("previous");
        EXPECT_TRUE(copyToClipboard(Text(bytes)));
        const ClipboardText clip = readClipboardText();
        ASSERT_TRUE(clip.present);
        EXPECT_TRUE(clip.bytes == bytes) << "bytes differ";
        // Wine hands back the exact size; Windows may round a block up, never down.
        EXPECT_EQ(clip.blockSize, bytes.size() + 1);
    }
}

TEST_F(ServicesTest, ClipboardHeldByAnotherThreadIsLeftAsItWas) {
    putOnClipboard("kept");
    const HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        // Held by a window of its own, as another program would hold it.
        const HWND owner =
            CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        const BOOL open = OpenClipboard(owner);
        SetEvent(opened);
        WaitForSingleObject(release, 10000);
        if (open) {
            CloseClipboard();
        }
        DestroyWindow(owner);
    });
    WaitForSingleObject(opened, 10000);

    EXPECT_FALSE(copyToClipboard(Text("new")));

    SetEvent(release);
    holder.join();
    CloseHandle(opened);
    CloseHandle(release);
    EXPECT_EQ(readClipboardText().bytes, "kept");
}

TEST_F(ServicesTest, ConvertClickWritesTheOutputBoxAndTheClipboardAlike) {
    struct Case {
        const char* input;
        const char* output;
    };
    const Case cases[] = {
        {"\x2E\x33\x22\x2C", "\".3\"+#\xD2\xFD\xBA\xC5+\",\""},
        {"   ", "\"   \""},
        {"a\r\n\"b", "\"a\r\n\"+#\xD2\xFD\xBA\xC5+\"b\""},
    };
    for (const auto& [input, output] : cases) {
        SCOPED_TRACE(input);
        setControlText(mainWindow.编辑框1.handle, Text(input));
        for (int click = 0; click < 2; ++click) {  // a second click replaces, never appends
            onConvertClicked();
            EXPECT_EQ(windowText(mainWindow.编辑框2.handle), output);
            EXPECT_EQ(readClipboardText().bytes, output);
        }
        EXPECT_EQ(windowText(mainWindow.编辑框1.handle), input) << "input untouched";
    }
}

}  // namespace
}  // namespace velmora::testing
