#include "edit_menu.h"

namespace viewers {

namespace {

// 右键菜单: the hidden menu of the window's layout.
const gui::MenuItem 右键菜单[] = {{复制, "复制"}, {全选, "全选"}};

}  // namespace

void run_edit_menu(gui::WindowId window, int edit_box) {
    switch (gui::popup_menu(window, 右键菜单)) {
        case 复制:
            gui::focus_control(window, edit_box);
            gui::edit_copy(window, edit_box);
            break;
        case 全选:
            gui::focus_control(window, edit_box);
            gui::edit_select_all(window, edit_box);
            break;
    }
}

}  // namespace viewers
