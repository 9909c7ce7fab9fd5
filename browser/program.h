// Start and end of the program.
#pragma once

#include "gui/gui.h"

namespace program {

// Creates and shows the browser window; its created event has run on return.
gui::WindowId start();

// start, then the message loop until the browser window has been destroyed. The
// exit code is 0.
int run();

}  // namespace program
