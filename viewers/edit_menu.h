// The edit menu of the text viewers: 复制 and 全选 over a read-only edit box.
#pragma once

#include "gui/gui.h"

namespace viewers {

enum EditMenuItem : int { 复制 = 1, 全选 = 2 };

// Pops the menu up at the pointer and carries out the chosen item on the edit box.
void run_edit_menu(gui::WindowId window, int edit_box);

}  // namespace viewers
