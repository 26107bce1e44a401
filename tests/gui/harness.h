// Drives a running velmora.exe from outside, as a user and the system would: starting it,
// finding its windows, reading their state, typing, clicking, and using the clipboard.
//
// Every wait is bounded: a hang of the program fails the test instead of hanging the run.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>

namespace gui {

using namespace std::chrono_literals;
using Millis = std::chrono::milliseconds;

// Control ids and places of the window, as a user sees them.
inline constexpr int kInputId = 100;   // 编辑框1
inline constexpr int kOutputId = 110;  // 编辑框2
inline constexpr int kButtonId = 120;  // 按钮
inline constexpr int kClientWidth = 410;
inline constexpr int kClientHeight = 250;
inline constexpr int kDesignedOuterWidth = 525;
inline constexpr int kDesignedOuterHeight = 336;

// The full path of a program that sits next to this driver.
std::wstring programBesideDriver(const wchar_t* fileName);

// A started process; ends it on destruction if it is still running, so no test leaves one
// behind.
class Process {
public:
    Process() = default;
    Process(HANDLE process, DWORD id) : process_(process), id_(id) {}
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    HANDLE handle() const { return process_; }
    DWORD id() const { return id_; }
    bool running() const;
    // The exit code once the process has ended within the wait, else nothing.
    std::optional<DWORD> waitForExit(Millis timeout) const;
    void kill();

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// Starts a program with the given arguments (appended after its quoted path).
Process startProcess(const std::wstring& program, const std::wstring& arguments = L"");

// The first visible top-level window of the process with this class, waiting for it.
HWND waitForWindow(DWORD processId, const char* className, Millis timeout);
// The same without waiting: null when there is none now.
HWND findWindow(DWORD processId, const char* className);
// How many visible top-level windows of the process have this class.
int countWindows(DWORD processId, const char* className);

// Polls until the condition holds; false when the time ran out.
bool waitUntil(const std::function<bool()>& condition, Millis timeout);

// A window's text through WM_GETTEXT: GetWindowTextA on another process's window does not
// ask the window, and for an edit box it gives nothing of what the box holds. Bytes in the
// driver's ANSI code page, which is the program's. Nothing when the window does not answer.
std::optional<std::string> controlText(HWND window, Millis timeout = 5s);
// WM_SETTEXT with the bytes; true when the window took them.
bool setControlText(HWND window, const std::string& bytes, Millis timeout = 20s);
// The caption as GetWindowTextA reports it.
std::string captionText(HWND window);
std::string className(HWND window);

// EM_GETSEL as {start, end}.
std::pair<int, int> editSelection(HWND edit);

// The window with the keyboard focus in the thread that owns `anyWindowOfThread`.
HWND focusedWindow(HWND anyWindowOfThread);
HWND activeWindow(HWND anyWindowOfThread);

// Rectangles: a child's in its parent's client coordinates, a window's on the screen.
RECT rectInParent(HWND child);
RECT screenRect(HWND window);
RECT clientRect(HWND window);
inline int width(const RECT& r) {
    return r.right - r.left;
}
inline int height(const RECT& r) {
    return r.bottom - r.top;
}

// Real keyboard input through SendInput, to whatever window has the focus.
struct Key {
    WORD vk;
    bool shift = false;
    bool alt = false;
    bool ctrl = false;
};
// Presses and releases each key in turn, with its modifiers held around it.
bool pressKeys(std::initializer_list<Key> keys);
// Makes the window the foreground window so that typed keys reach it.
bool bringToForeground(HWND window);

// BM_CLICK on a button, waiting for the click (and everything it runs) to finish.
bool clickButton(HWND button, Millis timeout = 20s);

// The clipboard, as another program sees it.
struct ClipboardText {
    std::string bytes;  // CF_TEXT up to its terminating zero
    SIZE_T blockSize;   // GlobalSize of the CF_TEXT handle
};
std::optional<ClipboardText> readClipboardText(Millis timeout = 5s);
bool putClipboardText(const std::string& bytes, Millis timeout = 5s);

// Holds the clipboard open for as long as it lives, as a program that forgot to close it.
// It opens it for a window of its own: Wine lets a second OpenClipboard(NULL) succeed while
// the clipboard is open for no window.
class ClipboardHold {
public:
    ClipboardHold();
    ClipboardHold(const ClipboardHold&) = delete;
    ClipboardHold& operator=(const ClipboardHold&) = delete;
    ~ClipboardHold();
    bool held() const { return held_; }

private:
    HWND owner_ = nullptr;
    bool held_ = false;
};

// A screen capture of a rectangle, for reading pixels (0x00BBGGRR like COLORREF).
class ScreenShot {
public:
    explicit ScreenShot(const RECT& screenArea);
    ScreenShot(const ScreenShot&) = delete;
    ScreenShot& operator=(const ScreenShot&) = delete;
    ~ScreenShot();
    bool ok() const { return bits_ != nullptr; }
    // A pixel by its screen coordinates.
    COLORREF at(int screenX, int screenY) const;

private:
    RECT area_{};
    HBITMAP bitmap_ = nullptr;
    const DWORD* bits_ = nullptr;
};

// A message box of the process: its window and the parts a user sees.
struct MessageBoxView {
    HWND box = nullptr;
    std::string title;
    std::string text;
    int visibleButtons = 0;
    HWND okButton = nullptr;
    HWND icon = nullptr;  // the static that shows the icon, when it shows one
    HWND owner = nullptr;
};
std::optional<MessageBoxView> waitForMessageBox(DWORD processId, Millis timeout);

// Which icon a message box shows, told by the colour of its picture: the warning sign is
// yellow, the error sign red.
enum class IconColour { none, yellow, red };
IconColour iconColour(HWND iconStatic);

// One running velmora (or one of its test builds) with its window and controls.
struct Velmora {
    Process process;
    HWND main = nullptr;
    HWND input = nullptr;   // 编辑框1
    HWND output = nullptr;  // 编辑框2
    HWND button = nullptr;  // 按钮
};
// Starts the program and waits for its window; main stays null when none appeared.
Velmora launchVelmora(const wchar_t* fileName = L"velmora.exe",
                      const std::wstring& arguments = L"");

}  // namespace gui
