// The process frame: start-up, loading the window, the message loop, fatal failures.
#pragma once

namespace velmora {

// Runs the whole program; returns 0 once the window is gone.
int runProgram();

// Builds MainWindow with events held back, raises creation finished, shows the window.
bool loadMainWindow();

// Runs until the quit message arrives.
void runMessageLoop();

// The one way a fatal failure ends the process: an error box naming the cause, no event
// while it is open, then exit code 0xFFFFFFFF.
[[noreturn]] void showFatalError(const char* cause);

}  // namespace velmora
