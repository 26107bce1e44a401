// MainWindow's window procedure and key handling. One switch; each message that the
// window answers itself has a small function below.
#include "ui/main_window.h"

#include <array>

#include "ui/handlers.h"

namespace velmora {

MainWindow mainWindow;

namespace {

MainWindow* windowData(HWND window) {
    return reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// The controls in building order, which is also the order of the tab cycle.
std::array<HWND, 3> controlsInOrder(const MainWindow& w) {
    return {w.编辑框1.handle, w.编辑框2.handle, w.按钮.handle};
}

bool isTabStop(HWND control) {
    return control && IsWindowVisible(control) && IsWindowEnabled(control) &&
           (GetWindowLongPtrA(control, GWL_STYLE) & WS_TABSTOP) != 0;
}

// The control among ours that holds the focus, or null.
HWND focusedControl(const MainWindow& w) {
    const HWND focus = GetFocus();
    for (HWND control : controlsInOrder(w)) {
        if (control && focus == control) {
            return control;
        }
    }
    return nullptr;
}

// The next (or previous) tab stop after the focused control; from no control, the first
// (or last) one.
void moveFocus(const MainWindow& w, bool forward) {
    const auto controls = controlsInOrder(w);
    const int count = static_cast<int>(controls.size());
    const HWND focus = focusedControl(w);
    int at = forward ? -1 : count;
    for (int i = 0; i < count; ++i) {
        if (controls[static_cast<std::size_t>(i)] == focus) {
            at = i;
        }
    }
    for (int step = 1; step <= count; ++step) {
        const int i = ((at + (forward ? step : -step)) % count + count) % count;
        if (isTabStop(controls[static_cast<std::size_t>(i)])) {
            SetFocus(controls[static_cast<std::size_t>(i)]);
            return;
        }
    }
}

void focusFirstTabStop(const MainWindow& w) {
    for (HWND control : controlsInOrder(w)) {
        if (isTabStop(control)) {
            SetFocus(control);
            return;
        }
    }
}

LRESULT onNcCreate(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    return DefWindowProcA(window, message, wParam, lParam);
}

void onPaint(HWND window) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EndPaint(window, &paint);
}

// Both boxes answer alike: black on opaque white, with the box's own brush.
LRESULT onControlColour(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const MainWindow& w = *windowData(window);
    const auto box = reinterpret_cast<HWND>(lParam);
    for (const Control* edit : {&w.编辑框1, &w.编辑框2}) {
        if (edit->handle && edit->handle == box && edit->background) {
            const auto dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkColor(dc, RGB(255, 255, 255));
            SetBkMode(dc, OPAQUE);
            return reinterpret_cast<LRESULT>(edit->background.get());
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void onCommand(const MainWindow& w, WPARAM wParam, LPARAM lParam) {
    // The button's click event: one per BN_CLICKED, run to its end right here.
    if (HIWORD(wParam) == BN_CLICKED && w.按钮.handle &&
        reinterpret_cast<HWND>(lParam) == w.按钮.handle && !w.eventsHeldBack) {
        onConvertClicked();
    }
}

void onActivate(MainWindow& w, WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        w.focusBeforeDeactivation = focusedControl(w);
    }
}

// The window passes the focus it receives on to a control.
void onSetFocus(MainWindow& w) {
    const HWND remembered = w.focusBeforeDeactivation;
    w.focusBeforeDeactivation = nullptr;
    if (remembered && IsWindow(remembered) && IsChild(w.window, remembered)) {
        SetFocus(remembered);
        return;
    }
    focusFirstTabStop(w);
}

// The controls are gone by now; what they and the window owned goes with the window.
void onNcDestroy(MainWindow& w) {
    w = MainWindow{};
    PostQuitMessage(0);
}

}  // namespace

LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        return onNcCreate(window, message, wParam, lParam);
    }
    MainWindow* w = windowData(window);
    if (!w) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    switch (message) {
        case WM_PAINT:
            onPaint(window);
            return 0;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            return onControlColour(window, message, wParam, lParam);
        case WM_COMMAND:
            onCommand(*w, wParam, lParam);
            return 0;
        case WM_SETFONT:
            w->font = reinterpret_cast<HFONT>(wParam);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(w->font);
        case WM_ACTIVATE:
            onActivate(*w, wParam);
            return DefWindowProcA(window, message, wParam, lParam);
        case WM_SETFOCUS:
            onSetFocus(*w);
            return 0;
        case WM_CLOSE:
            DestroyWindow(window);  // never refused, nothing asked
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_NCDESTROY:
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            onNcDestroy(*w);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool handleWindowKey(MainWindow& w, const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) {
        return false;
    }
    if (!w.window || (msg.hwnd != w.window && !IsChild(w.window, msg.hwnd))) {
        return false;
    }
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool alt = GetKeyState(VK_MENU) < 0;
    const bool noModifier = !ctrl && !shift && !alt;

    switch (msg.wParam) {
        case VK_TAB:
            if (!ctrl && !alt) {
                moveFocus(w, !shift);
                return true;
            }
            return false;
        case VK_ESCAPE:
            if (noModifier) {
                SendMessageA(w.window, WM_CLOSE, 0, 0);
                return true;
            }
            return false;
        default:
            // Enter is the input box's own (it makes a new line); elsewhere there is no
            // default button to click, so Enter goes on to the control, which ignores it.
            return false;
    }
}

}  // namespace velmora
