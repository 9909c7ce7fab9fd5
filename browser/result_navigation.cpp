#include "result_navigation.h"

#include <string>

#include "browser_controls.h"
#include "catalogue/catalogue.h"

namespace browser {

void go(gui::WindowId browser) {
    std::string text = gui::edit_text(browser, 编辑框1);
    if (text.find_first_not_of(' ') == std::string::npos)
        return;
    navigate(browser);
}

void navigate(gui::WindowId browser) {
    gui::focus_control(browser, 树型框1);
    // Every pair is tested, and each selection runs the entry display before the next
    // test; both texts are read afresh each time.
    for (const catalogue::SearchKey& key : catalogue::search_keys()) {
        int row = gui::list_selection(browser, 列表框1);
        std::string chosen = row >= 0 ? gui::list_row(browser, 列表框1, row) : std::string();
        if (chosen == key.key || gui::edit_text(browser, 编辑框1) == key.key)
            gui::tree_select(browser, 树型框1, key.tree_position);
    }
    int row = gui::list_selection(browser, 列表框1);
    std::string chosen = row >= 0 ? gui::list_row(browser, 列表框1, row) : std::string();
    // Setting the text runs the search refresh inside this call; only then is the list hidden.
    gui::set_edit_text(browser, 编辑框1, chosen);
    gui::show_control(browser, 列表框1, false);
}

void enter_results(gui::WindowId browser) {
    gui::focus_control(browser, 列表框1);
    gui::list_select(browser, 列表框1, 0);
}

}  // namespace browser
