// What the viewer windows share: their minimum size, and where a newly opened one
// stands when the geometry file knows nothing of it.
#pragma once

#include "gui/gui.h"
#include "settings/geometry_file.h"

namespace viewers {

constexpr int min_width = 200;
constexpr int min_height = 200;

// 258 pixels right of and 48 below the browser window's corner, 561 x 521.
settings::Defaults default_geometry(gui::WindowId browser);

// Raises a window below the minimum; the resize runs the layout rule again.
void raise_to_minimum(gui::WindowId window);

}  // namespace viewers
