// Thin services over the window calls that the handlers use.
#pragma once

#include <windows.h>

#include <cstdint>

#include "text/text.h"

namespace velmora {

std::int32_t getClientWidth(HWND window);
std::int32_t getClientHeight(HWND window);
std::int32_t getOuterWidth(HWND window);
std::int32_t getOuterHeight(HWND window);

// Clamped to 0..32627; position, z-order and activation are kept. The call is made even
// when the size does not change.
void setOuterWidth(HWND window, std::int32_t width);
void setOuterHeight(HWND window, std::int32_t height);

// The box's whole text, uncut; the missing text for an empty box.
Text getControlText(HWND box);
// Replaces the whole text, then raises the box's content-changed event (EN_CHANGE) once.
void setControlText(HWND box, const Text& text);

// A message box with no owner; task-modal unless system-modal is asked for.
int showMessage(const Text& message, std::uint32_t style, const Text& title);

// Puts the text on the clipboard as CF_TEXT, nothing else. True when the system took it.
bool copyToClipboard(const Text& text);

void focusControl(HWND box);

}  // namespace velmora
