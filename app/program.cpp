#include "app/program.h"

#include <float.h>
#include <windows.h>

#include "ui/handlers.h"
#include "ui/main_window.h"

namespace velmora {
namespace {

// "无法创建主窗口。" in code page 936.
constexpr char kCannotBuildWindow[] =
    "\xCE\xDE\xB7\xA8\xB4\xB4\xBD\xA8\xD6\xF7\xB4\xB0\xBF\xDA\xA1\xA3";

// Handles what building the window has queued; nothing of it reaches a handler.
void handleQueuedMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop to see
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace

int runProgram() {
    // The conversion of out-of-range numbers relies on all FPU exceptions being masked.
    _fpreset();
    if (!loadMainWindow()) {
        showFatalError(kCannotBuildWindow);
    }
    runMessageLoop();
    return 0;
}

bool loadMainWindow() {
    mainWindow.eventsHeldBack = true;
    if (!buildMainWindow(mainWindow)) {
        return false;
    }
    handleQueuedMessages();
    mainWindow.eventsHeldBack = false;

    onMainWindowCreated();  // creation finished, while the window is still hidden
    if (mainWindow.window) {
        // SW_SHOW itself: the show command the process was started with is not used.
        ShowWindow(mainWindow.window, SW_SHOW);
    }
    return true;
}

void runMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (handleWindowKey(mainWindow, msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace velmora
