#include "browser_window.h"

#include <vector>

#include "browser_controls.h"
#include "catalogue/catalogue.h"
#include "gui/scaling.h"
#include "prefix_search.h"
#include "result_navigation.h"
#include "settings/geometry_file.h"

namespace browser {

namespace {

constexpr int min_width = 839;
constexpr int min_height = 587;
constexpr int tree_height_allowance = 110;

// At 96 DPI. The result list is listed before the tree so that it lies over it.
const gui::ControlSpec controls[] = {
    {编辑框1, gui::ControlKind::search_edit, {16, 17, 147, 24}},
    {按钮1, gui::ControlKind::button, {176, 16, 66, 26}, "查找"},
    {列表框1, gui::ControlKind::list_box, {16, 40, 147, 24}, {}, false, true, {}, result_row_height},
    {树型框1, gui::ControlKind::tree_view, {16, 54, 224, 456}},
};

}  // namespace

gui::WindowId BrowserWindow::open() {
    return gui::open_window({"青岚编程助手1.2.5（正式版）", {50, 50, 788, 573}, min_width, min_height, controls}, *this);
}

void BrowserWindow::created(gui::WindowId self) {
    window_ = self;
    viewers_ = std::make_unique<Viewers>(window_);
    std::vector<gui::TreeItem> items;
    for (const catalogue::TreeItem& item : catalogue::tree_items())
        items.push_back({item.caption, item.level, item.entry_number});
    gui::tree_fill(window_, 树型框1, items);

    // The geometry is applied before the window shows; the notice stands over it.
    if (settings::geometry_file_exists()) {
        settings::load_geometry(window_, "window", std::nullopt);
    } else {
        layout();  // the design size is below the minimum
        gui::show_window(window_);
        gui::message_box(window_, "注意：初始位置需要用户设置，请勿使用本软件编写有损他人利益的软件，造成的后果全部自负。",
                         "温馨提示", gui::Buttons::ok);
    }
}

void BrowserWindow::destroying() {
    settings::save_geometry(window_, "window");
}

// Only the tree follows the window's height; the window never gets smaller than
// its minimum. Allowance and minimum are scaled to the window's DPI.
void BrowserWindow::layout() {
    int dpi = gui::window_dpi(window_);
    gui::Rect frame = gui::window_rect(window_);
    gui::Rect tree = gui::control_rect(window_, 树型框1);
    gui::set_control_rect(window_, 树型框1,
                          {tree.left, tree.top, tree.width, frame.height - gui::scale(tree_height_allowance, dpi)});
    if (frame.width < gui::scale(min_width, dpi))
        gui::resize_window(window_, gui::scale(min_width, dpi), frame.height);
    frame = gui::window_rect(window_);
    if (frame.height < gui::scale(min_height, dpi))
        gui::resize_window(window_, frame.width, gui::scale(min_height, dpi));
}

// The controls stand at their scaled design places again; the tree and a shown result
// list are sized anew.
void BrowserWindow::dpi_changed() {
    layout();
    if (gui::control_visible(window_, 列表框1))
        fit_result_list(window_);
}

void BrowserWindow::clicked(int control) {
    if (control == 按钮1)
        go(window_);
}

void BrowserWindow::text_changed(int control) {
    if (control == 编辑框1)
        refresh_search(window_);
}

void BrowserWindow::selection_changed(int control) {
    if (control == 树型框1)
        display_entry(window_, *viewers_);
}

void BrowserWindow::double_clicked(int control) {
    if (control == 列表框1)
        navigate(window_);
}

bool BrowserWindow::key_down(int control, int virtual_key) {
    if (virtual_key == vk_enter && (control == 编辑框1 || control == 列表框1)) {
        go(window_);
        return true;
    }
    if (virtual_key == vk_down && control == 编辑框1) {
        enter_results(window_);
        return true;
    }
    return false;
}

}  // namespace browser
