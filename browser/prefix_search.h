// The result list under the search box: every search key that begins with the
// search text, in catalogue order.
#pragma once

#include "gui/gui.h"

namespace browser {

// A key matches when the search text is a non-empty leading part of it (at most 30
// bytes), compared byte for byte.
bool prefix_match(gui::Text key, gui::Text search_text);

// Runs on every change of the search box's text, the program's own included.
void refresh_search(gui::WindowId browser);

// Sizes the result list to its rows, whole rows at the window's DPI.
void fit_result_list(gui::WindowId browser);

}  // namespace browser
