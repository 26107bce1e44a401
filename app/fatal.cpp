// Fatal failures: running out of memory for a text, or no main window at start-up.
#include <windows.h>

#include <charconv>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "app/program.h"
#include "text/text.h"
#include "ui/main_window.h"

namespace velmora {
namespace {

constexpr char kTitle[] = "Velmora";
// "内存不足：无法分配 " and " 字节。" in code page 936, around the number of bytes.
constexpr char kOutOfMemoryBefore[] =
    "\xC4\xDA\xB4\xE6\xB2\xBB\xD7\xE3\xA3\xBA\xCE\xDE\xB7\xA8"
    "\xB7\xD6\xC5\xE4 ";
constexpr char kOutOfMemoryAfter[] = " \xD7\xD6\xBD\xDA\xA1\xA3";

}  // namespace

void showFatalError(const char* cause) {
    // The box runs its own message loop; no handler may run from it.
    mainWindow.eventsHeldBack = true;
    MessageBoxA(nullptr, cause, kTitle, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(0xFFFFFFFF);
}

// Made without the heap, which has just refused storage.
void textOutOfMemory(std::int64_t bytesRequested) {
    char message[96];
    char* end = message;
    std::memcpy(end, kOutOfMemoryBefore, sizeof kOutOfMemoryBefore - 1);
    end += sizeof kOutOfMemoryBefore - 1;
    end = std::to_chars(end, std::end(message) - sizeof kOutOfMemoryAfter, bytesRequested).ptr;
    std::memcpy(end, kOutOfMemoryAfter, sizeof kOutOfMemoryAfter);  // with its zero
    showFatalError(message);
}

}  // namespace velmora
