// Our own windows that are plain widgets (the simulated board's panel, Board
// Activity) are windows to assistive technology too, named by their title,
// not an unnamed pane.
#pragma once

namespace vq {

// Installs, once, what presents them so; their constructors call it.
void PresentOwnWindowsAsWindows();

} // namespace vq
