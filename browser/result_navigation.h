// From a chosen search result, or a search text that is a whole key, to a selection
// in the tree, which shows the entry.
#pragma once

#include "gui/gui.h"

namespace browser {

// The button, and Enter in the search box or the result list: navigates unless the
// search text is empty or blanks only.
void go(gui::WindowId browser);

// Also the result list's double-click, without the emptiness test.
void navigate(gui::WindowId browser);

// Down in the search box: into the result list, on its first row.
void enter_results(gui::WindowId browser);

}  // namespace browser
