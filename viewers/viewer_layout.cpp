#include "viewer_layout.h"

namespace viewers {

settings::Defaults default_geometry(gui::WindowId browser) {
    gui::Rect at = gui::window_rect(browser);
    return {at.left + 258, at.top + 48, 561, 521};
}

void raise_to_minimum(gui::WindowId window) {
    gui::Rect r = gui::window_rect(window);
    if (r.width < min_width)
        gui::resize_window(window, min_width, r.height);
    r = gui::window_rect(window);
    if (r.height < min_height)
        gui::resize_window(window, r.width, min_height);
}

}  // namespace viewers
