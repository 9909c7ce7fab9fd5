#include "viewer_layout.h"

#include "gui/scaling.h"

namespace viewers {

settings::Defaults default_geometry(gui::WindowId browser) {
    int dpi = gui::window_dpi(browser);
    gui::Rect at = gui::window_rect(browser);
    return {at.left + gui::scale(258, dpi), at.top + gui::scale(48, dpi), gui::scale(561, dpi), gui::scale(521, dpi)};
}

void raise_to_minimum(gui::WindowId window) {
    int dpi = gui::window_dpi(window);
    gui::Rect r = gui::window_rect(window);
    if (r.width < gui::scale(min_width, dpi))
        gui::resize_window(window, gui::scale(min_width, dpi), r.height);
    r = gui::window_rect(window);
    if (r.height < gui::scale(min_height, dpi))
        gui::resize_window(window, r.width, gui::scale(min_height, dpi));
}

gui::Rect client_fill(gui::WindowId window, int width_allowance, int height_allowance) {
    int dpi = gui::window_dpi(window);
    gui::Rect frame = gui::window_rect(window);
    return {0, 0, frame.width - gui::scale(width_allowance, dpi), frame.height - gui::scale(height_allowance, dpi)};
}

}  // namespace viewers
