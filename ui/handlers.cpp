#include "ui/handlers.h"

#include "text/convert.h"
#include "text/text.h"
#include "ui/main_window.h"
#include "ui/window_services.h"

namespace velmora {
namespace {

constexpr double kClientWidth = 410.0;
constexpr double kClientHeight = 250.0;

// "请输入要处理的内容" in code page 936.
constexpr char kEmptyInputMessage[] =
    "\xC7\xEB\xCA\xE4\xC8\xEB\xD2\xAA\xB4\xA6\xC0\xED\xB5\xC4\xC4\xDA\xC8\xDD";
constexpr std::uint32_t kWarningStyle = MB_OK | MB_ICONEXCLAMATION;  // 0x30

// The low 32 bits of the whole number are the size.
std::int32_t wholePixels(double x) {
    return static_cast<std::int32_t>(toWholeNumber(x));
}

}  // namespace

void onMainWindowCreated() {
    const HWND window = mainWindow.window;
    // Width first, then height measured after the new width; the frame keeps its size,
    // so the client area ends at the wanted size and the top-left corner stays put.
    const double cw = getClientWidth(window);
    const double w = getOuterWidth(window);
    setOuterWidth(window, wholePixels(w - (cw - kClientWidth)));
    const double ch = getClientHeight(window);
    const double h = getOuterHeight(window);
    setOuterHeight(window, wholePixels(h - (ch - kClientHeight)));
}

void onConvertClicked() {
    const HWND input = mainWindow.编辑框1.handle;
    const HWND output = mainWindow.编辑框2.handle;
    const bool filled = compareText(getControlText(input), Text()) != 0;
    if (!filled) {
        showMessage(Text(kEmptyInputMessage), kWarningStyle,
                    Text());  // the button pressed does not matter
        focusControl(input);
        return;
    }
    setControlText(output, convertQuotes(getControlText(input)));
    // The clipboard gets what the output box holds, read back from it.
    copyToClipboard(getControlText(output));  // a failure shows nothing
}

}  // namespace velmora
