// The driver on the headless model: user actions become the events the real controls
// would send, with the controls' own behaviour where the program relies on it.
#include <unistd.h>

#include <filesystem>

#include "browser/program.h"
#include "driver.h"
#include "gui/headless/model.h"
#include "gui/scaling.h"
#include "tools/common/gbk.h"

namespace fs = std::filesystem;
using namespace gui::headless;

namespace driver {

namespace {

gui::WindowEvents& events(gui::WindowId window) {
    return *find(window)->events;
}

// One executable folder per test process: tests run in parallel.
gui::Path folder() {
    static std::string path = [] {
        std::string p = (fs::temp_directory_path() / ("qinglan-test-" + std::to_string(getpid()))).string();
        fs::create_directories(p);
        return p;
    }();
    return {path};
}

// The controls Tab visits, in creation order, as IsDialogMessage does with WS_TABSTOP.
bool takes_tab(const Control& c) {
    return c.visible && c.kind != gui::ControlKind::list_box;
}

}  // namespace

void reset() {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder().utf8, ec)) {
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(entry.path(), ec);
    }
    gui::headless::reset(folder());
}

gui::Path executable_directory() {
    return folder();
}

gui::WindowId start() {
    return program::start();
}

void close(gui::WindowId window) {
    gui::close_window(window);
}

gui::WindowId find_window(std::string_view caption_utf8) {
    // Captions are held as GBK; the tests name them in UTF-8.
    std::string gbk = gbk::from_utf8(caption_utf8).text;
    for (auto& [value, w] : state().windows)
        if (w.caption == gbk)
            return w.id;
    return {};
}

void select_tree_item(gui::WindowId window, int control, size_t position) {
    gui::focus_control(window, control);
    gui::tree_select(window, control, position);
}

void type(gui::WindowId window, int control, std::string_view gbk_text) {
    Control* c = find(window, control);
    if (c && c->kind == gui::ControlKind::read_only_text)
        return;
    for (size_t i = 0; i < gbk_text.size() && c; ++i) {
        size_t length = static_cast<unsigned char>(gbk_text[i]) >= 0x81 && i + 1 < gbk_text.size() ? 2 : 1;
        c->text.append(gbk_text.substr(i, length));
        i += length - 1;
        events(window).text_changed(control);
        c = find(window, control);
    }
}

void clear_text(gui::WindowId window, int control) {
    Control* c = find(window, control);
    if (c && !c->text.empty()) {
        c->text.clear();
        events(window).text_changed(control);
    }
}

void press_key(gui::WindowId window, int control, int virtual_key) {
    gui::focus_control(window, control);
    if (virtual_key == 9) {  // Tab: to the next control that takes it
        Window* w = find(window);
        std::vector<int> order;
        for (const Control& c : w->controls)
            if (takes_tab(c))
                order.push_back(c.id);
        for (size_t i = 0; i < order.size(); ++i)
            if (order[i] == control) {
                gui::focus_control(window, order[(i + 1) % order.size()]);
                return;
            }
        return;
    }
    if (events(window).key_down(control, virtual_key))
        return;
    Control* c = find(window, control);
    if (c && c->kind == gui::ControlKind::list_box && virtual_key == 40 && c->selected_row + 1 < int(c->rows.size()))
        ++c->selected_row;
}

void click_button(gui::WindowId window, int control) {
    gui::focus_control(window, control);
    events(window).clicked(control);
}

void double_click_row(gui::WindowId window, int control, int row) {
    gui::list_select(window, control, row);
    events(window).double_clicked(control);
}

void select_row(gui::WindowId window, int control, int row) {
    gui::list_select(window, control, row);
}

void right_click_text(gui::WindowId window, int control, int menu_index) {
    state().menu_choices.push_back(menu_index + 1);
    events(window).context_menu(control);
}

void menu_key_on_text(gui::WindowId window, int control, int menu_index) {
    right_click_text(window, control, menu_index);
}

void right_click_cell(gui::WindowId window, int control, int row, int column, int menu_index) {
    if (Control* c = find(window, control))
        c->selected_row = row;
    state().menu_choices.push_back(menu_index + 1);
    events(window).item_right_clicked(control, row, column);
}

void select_text(gui::WindowId window, int control, std::string_view gbk_part) {
    Control* c = find(window, control);
    size_t at = c ? c->text.find(gbk_part) : std::string::npos;
    if (at != std::string::npos) {
        c->selection_start = at;
        c->selection_end = at + gbk_part.size();
    }
}

void scroll_list_view(gui::WindowId, int, int) {}  // the model has no pixels

void set_column_width(gui::WindowId window, int control, int column, int width) {
    if (Control* c = find(window, control))
        c->columns[size_t(column)].width = width;
}

void drag_to(gui::WindowId window, gui::Rect rect) {
    gui::move_window(window, rect.left, rect.top);
    gui::resize_window(window, rect.width, rect.height);
}

void minimize(gui::WindowId window) {
    find(window)->minimized = true;
}
void maximize(gui::WindowId) {}

bool use_dpi(int dpi) {
    state().dpi = dpi;
    return true;
}

void change_dpi(gui::WindowId window, int dpi, gui::Rect suggested) {
    gui::headless::change_dpi(window, dpi, suggested);
}

int focused_control(gui::WindowId window) {
    return state().focus_window == window ? state().focus_control : 0;
}

ListViewColumn list_view_column(gui::WindowId window, int control, int column) {
    Control* c = find(window, control);
    return c ? ListViewColumn{c->columns[size_t(column)].width, c->columns[size_t(column)].centred} : ListViewColumn{};
}

int list_view_row_height(gui::WindowId window, int control) {
    Control* c = find(window, control);
    return c ? gui::scale(c->row_height, gui::window_dpi(window)) : 0;
}

Font control_font(gui::WindowId window, int control) {
    // The model has no font metrics: no line height.
    Control* c = find(window, control);
    return c && c->gb2312_font ? Font{-gui::scale(13, gui::window_dpi(window)), 400, 134, 0} : Font{0, 400, 1, 0};
}

void answer_next_message_box(gui::Answer answer) {
    state().answers.push_back(answer);
}

std::vector<MessageBoxSeen> message_boxes() {
    std::vector<MessageBoxSeen> seen;
    for (const MessageBoxShown& box : state().message_boxes)
        seen.push_back({box.text, box.title, box.buttons, false, box.answered});
    return seen;
}

void forget_message_boxes() {
    state().message_boxes.clear();
}

std::optional<std::string> clipboard_text() {
    return state().clipboard;
}

void set_clipboard_text(std::string_view gbk_text) {
    state().clipboard = std::string(gbk_text);
}

}  // namespace driver
