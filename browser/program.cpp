#include "program.h"

#include "browser_window.h"

namespace program {

namespace {

browser::BrowserWindow browser_window;

}  // namespace

gui::WindowId start() {
    return browser_window.open();
}

int run() {
    gui::WindowId window = start();
    gui::run_until_closed(window);
    return 0;
}

}  // namespace program
