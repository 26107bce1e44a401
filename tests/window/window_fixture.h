// A fresh MainWindow for each test, built as the program builds it, and torn down after.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "ui/main_window.h"

namespace velmora::testing {

// Handles what is queued for this thread; the quit message a destroyed window posts is
// dropped, since no loop here waits for it.
inline void pumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

inline std::string windowText(HWND window) {
    const auto length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const auto copied = SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(text.size()),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(buildMainWindow(mainWindow));
        pumpMessages();
        mainWindow.eventsHeldBack = false;
    }
    void TearDown() override {
        if (mainWindow.window) {
            DestroyWindow(mainWindow.window);
        }
        pumpMessages();
    }
};

}  // namespace velmora::testing
