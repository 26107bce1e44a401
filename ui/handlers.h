// The two event handlers of MainWindow. Both take no arguments and work on `mainWindow`.
#pragma once

namespace velmora {

// Creation finished: sizes the still hidden window to a client area of 410 x 250.
void onMainWindowCreated();

// The button's click: converts the input box into the output box and onto the clipboard,
// or warns when the input box is empty.
void onConvertClicked();

}  // namespace velmora
