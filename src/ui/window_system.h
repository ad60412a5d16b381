#pragma once

namespace ui {

// Asks the window manager to leave "show desktop" mode, in which it takes
// every window off the screen without minimising any. Does nothing where the
// window system has no such mode to leave (or is not X11).
void EndShowDesktop();

}  // namespace ui
