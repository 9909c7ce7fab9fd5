// What the viewer windows share: their minimum size, and where a newly opened one
// stands when the geometry file knows nothing of it. Values at 96 DPI, scaled to the
// viewer window's DPI.
#pragma once

#include "gui/gui.h"
#include "settings/geometry_file.h"

namespace viewers {

constexpr int min_width = 200;
constexpr int min_height = 200;

// 258 pixels right of and 48 below the browser window's corner, 561 x 521, at the
// browser window's DPI: that is the monitor where the viewer comes up.
settings::Defaults default_geometry(gui::WindowId browser);

// Raises a window below the minimum; the resize runs the layout rule again.
void raise_to_minimum(gui::WindowId window);

// The window's outer size less the allowances of its frame, which is where the
// single control goes.
gui::Rect client_fill(gui::WindowId window, int width_allowance, int height_allowance);

}  // namespace viewers
