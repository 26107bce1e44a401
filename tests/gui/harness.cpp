#include "tests/gui/harness.h"

#include <cstring>
#include <thread>
#include <utility>
#include <vector>

namespace gui {
namespace {

using Clock = std::chrono::steady_clock;

DWORD toWinMillis(Millis ms) {
    return static_cast<DWORD>(ms.count());
}

struct WindowSearch {
    DWORD processId;
    const char* className;
    HWND found;
    int count;
    bool all;  // count every match instead of stopping at the first
};

BOOL CALLBACK matchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) &&
        className(window) == search->className) {
        search->found = window;
        ++search->count;
        return search->all;
    }
    return TRUE;
}

void addKey(std::vector<INPUT>& inputs, WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(in);
}

struct ChildList {
    std::vector<HWND> windows;
};

BOOL CALLBACK collectChild(HWND window, LPARAM param) {
    reinterpret_cast<ChildList*>(param)->windows.push_back(window);
    return TRUE;
}

bool openClipboardWithin(Millis timeout) {
    return waitUntil([] { return OpenClipboard(nullptr) != FALSE; }, timeout);
}

}  // namespace

std::wstring programBesideDriver(const wchar_t* fileName) {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(n);
    path.erase(path.find_last_of(L"\\/") + 1);
    return path + fileName;
}

Process::Process(Process&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), id_(other.id_) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        kill();
        process_ = std::exchange(other.process_, nullptr);
        id_ = other.id_;
    }
    return *this;
}

Process::~Process() {
    kill();
}

bool Process::running() const {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::waitForExit(Millis timeout) const {
    if (process_ == nullptr ||
        WaitForSingleObject(process_, toWinMillis(timeout)) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

void Process::kill() {
    if (process_ == nullptr) {
        return;
    }
    if (running()) {
        TerminateProcess(process_, 0xDEAD);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
    process_ = nullptr;
}

Process startProcess(const std::wstring& program, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info)) {
        return {};
    }
    CloseHandle(info.hThread);
    return {info.hProcess, info.dwProcessId};
}

HWND findWindow(DWORD processId, const char* wantedClass) {
    WindowSearch search{processId, wantedClass, nullptr, 0, false};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int countWindows(DWORD processId, const char* wantedClass) {
    WindowSearch search{processId, wantedClass, nullptr, 0, true};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.count;
}

HWND waitForWindow(DWORD processId, const char* wantedClass, Millis timeout) {
    HWND found = nullptr;
    waitUntil([&] { return (found = findWindow(processId, wantedClass)) != nullptr; }, timeout);
    return found;
}

bool waitUntil(const std::function<bool()>& condition, Millis timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!condition()) {
        if (Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

std::optional<std::string> controlText(HWND window, Millis timeout) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, toWinMillis(timeout),
                             &length)) {
        return std::nullopt;
    }
    // The length may be counted in characters of the box's own encoding; two bytes per
    // character is the most code page 936 needs.
    std::string buffer(2 * length + 2, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(),
                             reinterpret_cast<LPARAM>(buffer.data()), SMTO_NORMAL,
                             toWinMillis(timeout), &copied)) {
        return std::nullopt;
    }
    buffer.resize(std::strlen(buffer.c_str()));
    return buffer;
}

bool setControlText(HWND window, const std::string& bytes, Millis timeout) {
    DWORD_PTR taken = 0;
    return SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(bytes.c_str()),
                               SMTO_NORMAL, toWinMillis(timeout), &taken) != 0 &&
           taken != 0;
}

std::string captionText(HWND window) {
    char buffer[1024] = {};
    const int n = GetWindowTextA(window, buffer, static_cast<int>(sizeof buffer));
    return std::string(buffer, static_cast<std::size_t>(n > 0 ? n : 0));
}

std::string className(HWND window) {
    char buffer[256] = {};
    const int n = GetClassNameA(window, buffer, static_cast<int>(sizeof buffer));
    return std::string(buffer, static_cast<std::size_t>(n > 0 ? n : 0));
}

std::pair<int, int> editSelection(HWND edit) {
    DWORD_PTR selection = 0;
    if (!SendMessageTimeoutW(edit, EM_GETSEL, 0, 0, SMTO_NORMAL, 5000, &selection)) {
        return {-1, -1};
    }
    return {LOWORD(selection), HIWORD(selection)};
}

namespace {
// The focus and activation state of the thread that owns the window; zeroed on failure.
GUITHREADINFO threadInfo(HWND anyWindowOfThread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(anyWindowOfThread, nullptr), &info)) {
        info = GUITHREADINFO{};
    }
    return info;
}
}  // namespace

HWND focusedWindow(HWND anyWindowOfThread) {
    return threadInfo(anyWindowOfThread).hwndFocus;
}

HWND activeWindow(HWND anyWindowOfThread) {
    return threadInfo(anyWindowOfThread).hwndActive;
}

RECT rectInParent(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT screenRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT clientRect(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return r;
}

bool pressKeys(std::initializer_list<Key> keys) {
    std::vector<INPUT> inputs;
    for (const Key& key : keys) {
        if (key.shift) {
            addKey(inputs, VK_SHIFT, false);
        }
        if (key.ctrl) {
            addKey(inputs, VK_CONTROL, false);
        }
        if (key.alt) {
            addKey(inputs, VK_MENU, false);
        }
        addKey(inputs, key.vk, false);
        addKey(inputs, key.vk, true);
        if (key.ctrl) {
            addKey(inputs, VK_CONTROL, true);
        }
        if (key.alt) {
            addKey(inputs, VK_MENU, true);
        }
        if (key.shift) {
            addKey(inputs, VK_SHIFT, true);
        }
    }
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    return sent == inputs.size();
}

bool bringToForeground(HWND window) {
    if (GetForegroundWindow() == window) {
        return true;
    }
    SetForegroundWindow(window);
    return waitUntil([&] { return GetForegroundWindow() == window; }, 3s);
}

bool clickButton(HWND button, Millis timeout) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, toWinMillis(timeout),
                               &result) != 0;
}

std::optional<ClipboardText> readClipboardText(Millis timeout) {
    if (!openClipboardWithin(timeout)) {
        return std::nullopt;
    }
    std::optional<ClipboardText> result;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        const SIZE_T size = GlobalSize(data);
        if (const auto* bytes = static_cast<const char*>(GlobalLock(data))) {
            result = ClipboardText{std::string(bytes, strnlen(bytes, size)), size};
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return result;
}

bool putClipboardText(const std::string& bytes, Millis timeout) {
    if (!openClipboardWithin(timeout)) {
        return false;
    }
    bool placed = false;
    EmptyClipboard();
    if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size() + 1)) {
        if (void* p = GlobalLock(block)) {
            std::memcpy(p, bytes.c_str(), bytes.size() + 1);
            GlobalUnlock(block);
            placed = SetClipboardData(CF_TEXT, block) != nullptr;
        }
        if (!placed) {
            GlobalFree(block);  // still ours when the clipboard did not take it
        }
    }
    CloseClipboard();
    return placed;
}

ClipboardHold::ClipboardHold()
    : owner_(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleW(nullptr), nullptr)) {
    held_ = owner_ != nullptr && waitUntil([&] { return OpenClipboard(owner_) != FALSE; }, 5s);
}

ClipboardHold::~ClipboardHold() {
    if (held_) {
        CloseClipboard();
    }
    if (owner_ != nullptr) {
        DestroyWindow(owner_);
    }
}

ScreenShot::ScreenShot(const RECT& screenArea) : area_(screenArea) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width(area_);
    info.bmiHeader.biHeight = -height(area_);  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap_ != nullptr && memory != nullptr) {
        HGDIOBJ previous = SelectObject(memory, bitmap_);
        if (BitBlt(memory, 0, 0, width(area_), height(area_), screen, area_.left, area_.top,
                   SRCCOPY | CAPTUREBLT)) {
            bits_ = static_cast<const DWORD*>(bits);
        }
        SelectObject(memory, previous);
        GdiFlush();
    }
    if (memory != nullptr) {
        DeleteDC(memory);
    }
    ReleaseDC(nullptr, screen);
}

ScreenShot::~ScreenShot() {
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
}

COLORREF ScreenShot::at(int screenX, int screenY) const {
    const int x = screenX - area_.left;
    const int y = screenY - area_.top;
    if (bits_ == nullptr || x < 0 || y < 0 || x >= width(area_) || y >= height(area_)) {
        return CLR_INVALID;
    }
    const DWORD pixel = bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width(area_)) +
                              static_cast<std::size_t>(x)];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

std::optional<MessageBoxView> waitForMessageBox(DWORD processId, Millis timeout) {
    HWND box = waitForWindow(processId, "#32770", timeout);
    if (box == nullptr) {
        return std::nullopt;
    }
    MessageBoxView view;
    view.box = box;
    view.title = captionText(box);
    view.owner = GetWindow(box, GW_OWNER);
    if (HWND text = GetDlgItem(box, 0xFFFF)) {
        view.text = captionText(text);
    }
    ChildList children;
    EnumChildWindows(box, collectChild, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children.windows) {
        if (!IsWindowVisible(child)) {
            continue;
        }
        const std::string kind = className(child);
        const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
        if (kind == "Button") {
            ++view.visibleButtons;
            if (GetDlgCtrlID(child) == IDOK) {
                view.okButton = child;
            }
        } else if (kind == "Static" && (style & SS_TYPEMASK) == SS_ICON) {
            view.icon = child;
        }
    }
    return view;
}

IconColour iconColour(HWND iconStatic) {
    const RECT area = screenRect(iconStatic);
    const ScreenShot shot(area);
    int yellow = 0;
    int red = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = shot.at(x, y);
            const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
            yellow += r > 180 && g > 140 && b < 100;
            red += r > 160 && g < 90 && b < 90;
        }
    }
    // An eighth of the picture or more in one colour, hardly any of the other.
    const int enough = width(area) * height(area) / 8;
    if (yellow >= enough && red < enough / 4) {
        return IconColour::yellow;
    }
    if (red >= enough && yellow < enough / 4) {
        return IconColour::red;
    }
    return IconColour::none;
}

Velmora launchVelmora(const wchar_t* fileName, const std::wstring& arguments) {
    Velmora app;
    app.process = startProcess(programBesideDriver(fileName), arguments);
    if (app.process.handle() == nullptr) {
        return app;
    }
    app.main = waitForWindow(app.process.id(), "VelmoraMainWindow", 20s);
    if (app.main != nullptr) {
        app.input = GetDlgItem(app.main, kInputId);
        app.output = GetDlgItem(app.main, kOutputId);
        app.button = GetDlgItem(app.main, kButtonId);
        // Showing activates the window and then puts the focus in a control; let that settle.
        waitUntil([&] { return focusedWindow(app.main) != nullptr; }, 5s);
    }
    return app;
}

}  // namespace gui
