#include "prefix_search.h"

#include "browser_controls.h"
#include "catalogue/catalogue.h"
#include "gui/scaling.h"

namespace browser {

namespace {

constexpr size_t longest_prefix = 30;
constexpr int frame_allowance = 2;

}  // namespace

// Comparing the key's first 1, 2, ... 30 bytes with the text finds a match exactly
// when the text is a non-empty leading part of the key of at most 30 bytes.
bool prefix_match(gui::Text key, gui::Text search_text) {
    return !search_text.empty() && search_text.size() <= longest_prefix && key.starts_with(search_text);
}

void refresh_search(gui::WindowId browser) {
    std::string search_text = gui::edit_text(browser, 编辑框1);
    gui::list_clear(browser, 列表框1);
    for (const catalogue::SearchKey& key : catalogue::search_keys())
        if (!search_text.empty() && prefix_match(key.key, search_text))
            gui::list_append(browser, 列表框1, key.key);
    if (gui::list_count(browser, 列表框1) == 0) {
        gui::show_control(browser, 列表框1, false);
        return;
    }
    fit_result_list(browser);
    gui::show_control(browser, 列表框1, true);
}

// 15 x n + 2 at 96 DPI. The row pitch is the list's own: the design's 15 scaled, or
// more where the font's line needs it, so that every row shows whole.
void fit_result_list(gui::WindowId browser) {
    int rows = gui::list_count(browser, 列表框1);
    int frame = gui::scale(frame_allowance, gui::window_dpi(browser));
    gui::set_list_height(browser, 列表框1, gui::list_row_height(browser, 列表框1) * rows + frame);
}

}  // namespace browser
