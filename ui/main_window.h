// MainWindow: the program's one window and its three controls, built hidden, with its
// window procedure and its key handling.
#pragma once

#include <windows.h>

#include "ui/owned_handles.h"

namespace velmora {

// A child control and what it owns: its own font and, for an edit box, the white brush
// it is painted with. The window handle itself belongs to the parent window.
struct Control {
    HWND handle = nullptr;
    OwnedFont font;
    OwnedBrush background;
};

struct MainWindow {
    HWND window = nullptr;
    Control 编辑框1;  // input box
    Control 编辑框2;  // read-only output box
    Control 按钮;     // convert button
    OwnedIcon bigIcon;
    OwnedIcon smallIcon;
    HFONT font = nullptr;  // borrowed: the stock DEFAULT_GUI_FONT
    HWND focusBeforeDeactivation = nullptr;
    // While set, no event reaches a handler: during construction and under a fatal error box.
    bool eventsHeldBack = true;
};

// The one window of the process; the handlers and the message loop address it by this name.
extern MainWindow mainWindow;

inline constexpr char kMainWindowClassName[] = "VelmoraMainWindow";

// Registers the private window class unless it is registered already.
bool registerMainWindowClass();

// Builds the window and its controls, hidden, with the controls shown inside it. On
// failure what was made so far is left for the process's end.
bool buildMainWindow(MainWindow& w);

LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Offers a queued message to the window's key handling; true when it acted and the message
// must be neither translated nor dispatched.
bool handleWindowKey(MainWindow& w, const MSG& msg);

}  // namespace velmora
