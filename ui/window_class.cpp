// The private window class, kept alone in its file: a test build of the program swaps
// this file for one that registers nothing, to make building the window fail.
#include "ui/main_window.h"

namespace velmora {

bool registerMainWindowClass() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, kMainWindowClassName, &existing)) {
        return true;
    }
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = mainWindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    // No icon and no background brush: the icons are set per window, and the client
    // area is painted white while painting.
    windowClass.lpszClassName = kMainWindowClassName;
    return RegisterClassExA(&windowClass) != 0;
}

}  // namespace velmora
