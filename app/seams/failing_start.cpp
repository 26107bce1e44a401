// Test build only: replaces the class registration with one that registers nothing, so
// creating the main window fails and the program takes its start-up failure path.
#include "ui/main_window.h"

namespace velmora {

bool registerMainWindowClass() {
    return true;
}

}  // namespace velmora
