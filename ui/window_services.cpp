#include "ui/window_services.h"

#include <algorithm>
#include <cstring>

namespace velmora {
namespace {

constexpr std::int32_t kMaxOuterSize = 32627;
constexpr UINT kResizeOnly = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;  // 0x16

RECT clientRect(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return r;
}

RECT outerRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

void resize(HWND window, std::int32_t width, std::int32_t height) {
    SetWindowPos(window, nullptr, 0, 0, width, height, kResizeOnly);
}

// The clipboard while it is open: closed on every way out.
class OpenClipboardScope {
public:
    OpenClipboardScope() : open_(OpenClipboard(nullptr) != FALSE) {}
    ~OpenClipboardScope() {
        if (open_) {
            CloseClipboard();
        }
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    bool isOpen() const { return open_; }

private:
    bool open_;
};

// A global memory block that is ours until the clipboard takes it.
class GlobalBlock {
public:
    GlobalBlock(UINT flags, SIZE_T size) : block_(GlobalAlloc(flags, size)) {}
    ~GlobalBlock() {
        if (block_) {
            GlobalFree(block_);
        }
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    HGLOBAL get() const { return block_; }
    void handOver() { block_ = nullptr; }

private:
    HGLOBAL block_;
};

}  // namespace

std::int32_t getClientWidth(HWND window) {
    const RECT r = clientRect(window);
    return r.right - r.left;
}

std::int32_t getClientHeight(HWND window) {
    const RECT r = clientRect(window);
    return r.bottom - r.top;
}

std::int32_t getOuterWidth(HWND window) {
    const RECT r = outerRect(window);
    return r.right - r.left;
}

std::int32_t getOuterHeight(HWND window) {
    const RECT r = outerRect(window);
    return r.bottom - r.top;
}

void setOuterWidth(HWND window, std::int32_t width) {
    resize(window, std::clamp(width, 0, kMaxOuterSize), getOuterHeight(window));
}

void setOuterHeight(HWND window, std::int32_t height) {
    resize(window, getOuterWidth(window), std::clamp(height, 0, kMaxOuterSize));
}

Text getControlText(HWND box) {
    const int length = GetWindowTextLengthA(box);
    if (length <= 0) {
        return Text();
    }
    Text text = Text::withSize(length);
    // The length asked first may overstate (it can count two-byte characters twice);
    // what GetWindowTextA copies is the text.
    const int copied = GetWindowTextA(box, text.writableData(), length + 1);
    text.shrinkTo(std::max(copied, 0));
    return text;
}

void setControlText(HWND box, const Text& text) {
    SetWindowTextA(box, text.data());
    const WPARAM changed = MAKEWPARAM(GetDlgCtrlID(box), EN_CHANGE);
    SendMessageA(box, WM_COMMAND, changed, reinterpret_cast<LPARAM>(box));
}

int showMessage(const Text& message, std::uint32_t style, const Text& title) {
    if ((style & MB_SYSTEMMODAL) == 0) {
        style |= MB_TASKMODAL;
    }
    return MessageBoxA(nullptr, message.data(), title.data(), style);
}

bool copyToClipboard(const Text& text) {
    const OpenClipboardScope clipboard;
    if (!clipboard.isOpen()) {
        return false;  // another program holds it: the clipboard stays as it was
    }
    EmptyClipboard();
    const SIZE_T size = static_cast<SIZE_T>(text.size()) + 1;
    GlobalBlock block(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!block.get()) {
        return false;  // the clipboard stays empty
    }
    void* bytes = GlobalLock(block.get());
    if (!bytes) {
        return false;
    }
    std::memcpy(bytes, text.data(), size);
    GlobalUnlock(block.get());
    if (!SetClipboardData(CF_TEXT, block.get())) {
        return false;  // not taken: the block is still ours to free
    }
    block.handOver();
    return true;
}

void focusControl(HWND box) {
    SetFocus(box);
}

}  // namespace velmora
