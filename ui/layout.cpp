// Building MainWindow: the window, its icons and font, then the three controls with their
// texts, fonts, limits, selections and borders, their stacking and their showing.
#include <cstdint>

#include "ui/main_window.h"

namespace velmora {
namespace {

constexpr int kOuterWidth = 525;
constexpr int kOuterHeight = 336;
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

constexpr DWORD kChildStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP;
constexpr DWORD kEditStyle =
    kChildStyle | WS_VSCROLL | ES_WANTRETURN | ES_AUTOVSCROLL | ES_MULTILINE | ES_LEFT;
constexpr DWORD kButtonStyle = kChildStyle | BS_MULTILINE | BS_VCENTER | BS_CENTER | BS_PUSHBUTTON;

constexpr int k编辑框1Id = 100;
constexpr int k编辑框2Id = 110;
constexpr int k按钮Id = 120;

constexpr char kCaption[] = "Velmora";
constexpr char kInitialInput[] = "\x2E\x33\x22\x2C";  // .3",

HINSTANCE programInstance() {
    return GetModuleHandleA(nullptr);
}

HFONT defaultGuiFont() {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

OwnedFont makeControlFont() {
    return OwnedFont(CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                                 DEFAULT_PITCH, "YaHei Consolas Hybrid"));
}

// The control keeps its own font; when none can be made it borrows the stock one.
void giveFont(Control& control) {
    control.font = makeControlFont();
    const HFONT font = control.font ? control.font.get() : defaultGuiFont();
    SendMessageA(control.handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

HWND createChild(HWND parent, const char* windowClass, const char* text, DWORD style, int left,
                 int top, int width, int height, int id) {
    return CreateWindowExA(0, windowClass, text, style, left, top, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), programInstance(),
                           nullptr);
}

bool buildEdit(HWND parent, Control& box, const char* text, DWORD style, int top, int id) {
    box.handle = createChild(parent, "EDIT", text, style, 5, top, 400, 100, id);
    if (!box.handle) {
        return false;
    }
    box.background.reset(CreateSolidBrush(RGB(255, 255, 255)));
    giveFont(box);
    SendMessageA(box.handle, EM_LIMITTEXT, 0, 0);
    SendMessageA(box.handle, EM_SETSEL, 0, 0);
    SendMessageA(box.handle, EM_SCROLLCARET, 0, 0);
    // An edit box drops WS_BORDER given at creation and draws a border of its own; set
    // afterwards, the thin line stays a plain window border.
    const LONG_PTR boxStyle = GetWindowLongPtrA(box.handle, GWL_STYLE);
    SetWindowLongPtrA(box.handle, GWL_STYLE, boxStyle | WS_BORDER);
    SetWindowPos(box.handle, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return true;
}

bool buildButton(HWND parent, Control& button) {
    button.handle = createChild(parent, "BUTTON", kCaption, kButtonStyle, 5, 110, 400, 30, k按钮Id);
    if (!button.handle) {
        return false;
    }
    giveFont(button);
    return true;
}

void setIcons(MainWindow& w) {
    w.bigIcon.reset(static_cast<HICON>(
        LoadImageA(programInstance(), "DEFAULT_ICON", IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR)));
    w.smallIcon.reset(static_cast<HICON>(
        LoadImageA(programInstance(), "DEFAULT_ICON", IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
    SendMessageA(w.window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(w.bigIcon.get()));
    SendMessageA(w.window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(w.smallIcon.get()));
}

void stack(HWND control, HWND insertAfter) {
    SetWindowPos(control, insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

bool buildMainWindow(MainWindow& w) {
    if (!registerMainWindowClass()) {
        return false;
    }
    // Integer division truncates toward zero, also on a screen narrower than the window.
    const int x = (GetSystemMetrics(SM_CXSCREEN) - kOuterWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kOuterHeight) / 2;

    w.window = CreateWindowExA(0, kMainWindowClassName, kCaption, kWindowStyle, x, y, kOuterWidth,
                               kOuterHeight, nullptr, nullptr, programInstance(), &w);
    if (!w.window) {
        return false;
    }
    RECT outer{};
    GetWindowRect(w.window, &outer);
    if (outer.right - outer.left != kOuterWidth || outer.bottom - outer.top != kOuterHeight) {
        MoveWindow(w.window, x, y, kOuterWidth, kOuterHeight, FALSE);
    }
    setIcons(w);
    SendMessageA(w.window, WM_SETFONT, reinterpret_cast<WPARAM>(defaultGuiFont()), FALSE);

    if (!buildEdit(w.window, w.编辑框1, kInitialInput, kEditStyle, 5, k编辑框1Id) ||
        !buildEdit(w.window, w.编辑框2, "", kEditStyle | ES_READONLY, 145, k编辑框2Id) ||
        !buildButton(w.window, w.按钮)) {
        return false;
    }

    // The reverse of the building order: the button on top.
    stack(w.按钮.handle, HWND_TOP);
    stack(w.编辑框2.handle, w.按钮.handle);
    stack(w.编辑框1.handle, w.编辑框2.handle);

    for (const Control* control : {&w.编辑框1, &w.编辑框2, &w.按钮}) {
        ShowWindow(control->handle, SW_SHOWNA);
    }
    return true;
}

}  // namespace velmora
