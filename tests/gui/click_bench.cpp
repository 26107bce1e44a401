// How long a click on a 1 MiB input takes, next to what the output box alone costs, and
// whether 1,000 clicks leave the process's objects and memory where they were.
//
// Run next to velmora.exe, under Wine: velmora_click_bench.exe [repeats]
#include <windows.h>
// These two need the types of windows.h first.
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/gui/big_input.h"
#include "tests/gui/harness.h"
#include "text/convert.h"
#include "text/text.h"

[[noreturn]] void velmora::textOutOfMemory(std::int64_t bytesRequested) {
    std::fprintf(stderr, "out of memory for %lld bytes\n", static_cast<long long>(bytesRequested));
    std::abort();
}

namespace {

using namespace gui;
using Clock = std::chrono::steady_clock;

double millisSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void printRuns(const char* what, const std::vector<double>& runs) {
    std::printf("  %-52s median %8.1f ms  (runs:", what, median(runs));
    for (double r : runs) {
        std::printf(" %.1f", r);
    }
    std::printf(")\n");
}

// A box like the output box, in this process: same class, styles, size and font. Its
// SetWindowTextA and GetWindowTextA are the edit control's own cost with nothing around
// them, the floor that a click cannot go under.
struct OwnBox {
    HWND frame = nullptr;
    HWND box = nullptr;
    HFONT font = nullptr;
    ~OwnBox() {
        if (frame != nullptr) {
            DestroyWindow(frame);
        }
        if (font != nullptr) {
            DeleteObject(font);
        }
    }
};

// Runs a scope under velmora.exe's own manifest, so that the box made there is the same
// version 6 edit control that velmora's boxes are.
class VelmoraManifestScope {
public:
    VelmoraManifestScope() {
        const std::wstring program = programBesideDriver(L"velmora.exe");
        ACTCTXW description{};
        description.cbSize = sizeof description;
        description.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        description.lpSource = program.c_str();
        description.lpResourceName = MAKEINTRESOURCEW(1);
        context_ = CreateActCtxW(&description);
        active_ = context_ != INVALID_HANDLE_VALUE && ActivateActCtx(context_, &cookie_);
    }
    VelmoraManifestScope(const VelmoraManifestScope&) = delete;
    VelmoraManifestScope& operator=(const VelmoraManifestScope&) = delete;
    ~VelmoraManifestScope() {
        if (active_) {
            DeactivateActCtx(0, cookie_);
        }
        if (context_ != INVALID_HANDLE_VALUE) {
            ReleaseActCtx(context_);
        }
    }
    bool active() const { return active_; }

private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
    bool active_ = false;
};

bool makeOwnBox(OwnBox& own) {
    const VelmoraManifestScope manifest;
    if (manifest.active()) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
    }
    std::printf("baseline box: %s\n", manifest.active()
                                          ? "the version 6 edit control, as velmora's"
                                          : "the system's plain edit control (no manifest)");
    own.frame = CreateWindowExA(0, "STATIC", "baseline", WS_OVERLAPPED | WS_CAPTION, 0, 0, 420, 260,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (own.frame == nullptr) {
        return false;
    }
    own.box = CreateWindowExA(
        0, "EDIT", "",
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER | WS_VSCROLL | WS_TABSTOP |
            ES_WANTRETURN | ES_AUTOVSCROLL | ES_MULTILINE | ES_READONLY,
        5, 145, 400, 100, own.frame, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (own.box == nullptr) {
        return false;
    }
    own.font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH,
                           "YaHei Consolas Hybrid");
    SendMessageA(own.box, WM_SETFONT, reinterpret_cast<WPARAM>(own.font), TRUE);
    SendMessageA(own.box, EM_LIMITTEXT, 0, 0);
    ShowWindow(own.frame, SW_SHOWNOACTIVATE);
    return true;
}

struct Usage {
    DWORD gdiObjects;
    DWORD userObjects;
    DWORD handles;
    SIZE_T privateBytes;
    SIZE_T pagefile;
    SIZE_T workingSet;
};

Usage usageOf(HANDLE process) {
    Usage u{};
    u.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    u.userObjects = GetGuiResources(process, GR_USEROBJECTS);
    GetProcessHandleCount(process, &u.handles);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory)) {
        u.privateBytes = memory.PrivateUsage;
        u.pagefile = memory.PagefileUsage;
        u.workingSet = memory.WorkingSetSize;
    }
    return u;
}

void printUsage(const char* when, const Usage& u) {
    std::printf(
        "  %-24s GDI %lu, USER %lu, handles %lu, private %zu KiB, pagefile %zu KiB, "
        "working set %zu KiB\n",
        when, static_cast<unsigned long>(u.gdiObjects), static_cast<unsigned long>(u.userObjects),
        static_cast<unsigned long>(u.handles), static_cast<std::size_t>(u.privateBytes / 1024),
        static_cast<std::size_t>(u.pagefile / 1024), static_cast<std::size_t>(u.workingSet / 1024));
}

long long kibDifference(SIZE_T before, SIZE_T after) {
    return (static_cast<long long>(after) - static_cast<long long>(before)) / 1024;
}

int fail(const char* what) {
    std::fprintf(stderr, "velmora_click_bench: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);  // figures show as they come
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    Velmora app = launchVelmora();
    if (app.main == nullptr) {
        return fail("velmora.exe showed no window");
    }

    printUsage("after start-up", usageOf(app.process.handle()));
    const std::string input = makeBigInput(1 << 20);
    const std::string expected(velmora::convertQuotes(velmora::Text(input)).view());
    std::printf("input %zu bytes in lines of at most 80, output %zu bytes\n", input.size(),
                expected.size());
    if (!setControlText(app.input, input, 120s)) {
        return fail("the input box did not take the input");
    }

    OwnBox own;
    if (!makeOwnBox(own)) {
        return fail("could not make the baseline box");
    }
    // Clicks and baselines take turns, so that a slow spell of the machine hits both.
    std::vector<double> clicks;
    std::vector<double> ownBox;
    std::string readBack(expected.size() + 1, '\0');
    for (int i = 0; i < repeats; ++i) {
        const DWORD sequence = GetClipboardSequenceNumber();
        auto start = Clock::now();
        if (!clickButton(app.button, 120s)) {
            return fail("the click did not come back");
        }
        clicks.push_back(millisSince(start));
        if (GetClipboardSequenceNumber() == sequence) {
            return fail("the click did not set the clipboard");
        }

        start = Clock::now();
        SetWindowTextA(own.box, expected.c_str());
        const int n = GetWindowTextA(own.box, readBack.data(), static_cast<int>(readBack.size()));
        ownBox.push_back(millisSince(start));
        if (static_cast<std::size_t>(n) != expected.size()) {
            return fail("the baseline box did not hold the whole text");
        }
    }
    const auto clipboard = readClipboardText();
    if (!clipboard || clipboard->bytes != expected || controlText(app.output, 60s) != expected) {
        return fail("the click gave another result than convertQuotes");
    }
    std::printf("one click on the 1 MiB input, BM_CLICK sent until it returned (clipboard set):\n");
    printRuns("click", clicks);
    printRuns("baseline: SetWindowTextA+GetWindowTextA, own box", ownBox);
    std::printf("  click / baseline = %.2f (velmora's own work adds %.0f%%)\n",
                median(clicks) / median(ownBox), 100.0 * (median(clicks) / median(ownBox) - 1.0));

    printUsage("after the big clicks", usageOf(app.process.handle()));

    // 1,000 clicks on a small input.
    std::string small;
    while (small.size() < 1000) {
        small += "say \"hi\" to \xC4\xE3\xBA\xC3\r\n";  // 你好
    }
    if (!setControlText(app.input, small)) {
        return fail("the input box did not take the small input");
    }
    clickButton(app.button);  // the first click's allocations are not a leak
    const Usage before = usageOf(app.process.handle());
    const auto start = Clock::now();
    for (int i = 0; i < 1000; ++i) {
        if (!clickButton(app.button)) {
            return fail("a click did not come back");
        }
    }
    const double thousand = millisSince(start);
    const Usage after = usageOf(app.process.handle());
    std::printf("1,000 clicks on a %zu-byte input: %.0f ms (%.2f ms a click)\n", small.size(),
                thousand, thousand / 1000.0);
    printUsage("before 1,000 clicks", before);
    printUsage("after 1,000 clicks", after);
    if (before.gdiObjects == 0 && before.userObjects == 0) {
        std::printf("  (GetGuiResources gives 0 here: this system does not count GUI objects)\n");
    }
    std::printf("  change over the 1,000 clicks: pagefile %+lld KiB, working set %+lld KiB\n",
                kibDifference(before.pagefile, after.pagefile),
                kibDifference(before.workingSet, after.workingSet));

    PostMessageW(app.main, WM_CLOSE, 0, 0);
    const auto code = app.process.waitForExit(10s);
    std::printf("velmora ended with exit code %s\n",
                code ? std::to_string(*code).c_str() : "(still running, killed)");
    return 0;
}
