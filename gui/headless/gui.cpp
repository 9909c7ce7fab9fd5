// The headless GUI: the behaviour the program relies on from Win32, in memory.
// Program-made changes notify inside the call, as the real controls do; a window's
// size is never below its minimum, as DefWindowProc keeps it; closing a window closes
// the windows it owns first.
#include <algorithm>
#include <cstdint>

#include "gui/scaling.h"
#include "model.h"

namespace gui::headless {

State& state() {
    static State s;
    return s;
}

void reset(const Path& executable_directory) {
    state() = State{};
    state().executable_directory = executable_directory;
}

Window* find(WindowId window) {
    auto found = state().windows.find(window.value);
    return found == state().windows.end() ? nullptr : &found->second;
}

Control* find(WindowId window, int control) {
    Window* w = find(window);
    if (!w)
        return nullptr;
    for (Control& c : w->controls)
        if (c.id == control)
            return &c;
    return nullptr;
}

// As the Win32 layer answers WM_DPICHANGED: controls at their design places for the new
// DPI, column widths in proportion, then the suggested rectangle, then the program.
void change_dpi(WindowId window, int dpi, Rect suggested) {
    Window* w = find(window);
    if (!w)
        return;
    int old_dpi = w->dpi;
    w->dpi = dpi;
    for (Control& c : w->controls) {
        c.rect = scale(c.design, dpi);
        for (ListViewColumn& column : c.columns)
            column.width = int((int64_t(column.width) * dpi + old_dpi / 2) / old_dpi);
    }
    set_window_rect(window, suggested);
    if ((w = find(window)))
        w->events->dpi_changed();
}

}  // namespace gui::headless

namespace gui {

using namespace headless;

WindowId open_window(const WindowSpec& spec, WindowEvents& events, WindowId owner) {
    Window w;
    w.id = WindowId{++state().last_id};
    w.owner = owner;
    w.caption = std::string(spec.caption);
    w.min_width = spec.min_width;
    w.min_height = spec.min_height;
    w.dpi = state().dpi;
    w.rect = scale(spec.frame, w.dpi);
    w.rect.width = std::max(w.rect.width, scale(spec.min_width, w.dpi));
    w.rect.height = std::max(w.rect.height, scale(spec.min_height, w.dpi));
    for (const ControlSpec& c : spec.controls) {
        Control control;
        control.id = c.id;
        control.kind = c.kind;
        control.design = c.rect;
        control.rect = scale(c.rect, w.dpi);
        control.visible = c.visible;
        control.text = c.kind == ControlKind::button ? std::string(c.caption) : std::string();
        for (ListViewColumn column : c.columns)
            control.columns.push_back({scale(column.width, w.dpi), column.centred});
        control.row_height = c.row_height;
        control.gb2312_font = c.gb2312_font;
        w.controls.push_back(control);
    }
    WindowId id = w.id;
    state().windows[id.value] = std::move(w);
    find(id)->events = &events;
    events.created(id);
    return id;
}

void show_window(WindowId) {}  // the model has no screen

bool is_open(WindowId window) {
    return find(window) != nullptr;
}

void close_window(WindowId window) {
    Window* w = find(window);
    if (!w)
        return;
    std::vector<WindowId> owned;
    for (auto& [value, other] : state().windows)
        if (other.owner == window)
            owned.push_back(other.id);
    for (WindowId o : owned)
        close_window(o);
    if ((w = find(window)) && w->events)
        w->events->destroying();
    state().windows.erase(window.value);
    if (state().focus_window == window)
        state().focus_window = {};
}

Rect window_rect(WindowId window) {
    Window* w = find(window);
    return w ? w->rect : Rect{};
}

void move_window(WindowId window, int left, int top) {
    Window* w = find(window);
    if (!w || (w->rect.left == left && w->rect.top == top))
        return;
    w->rect.left = left;
    w->rect.top = top;
    w->events->moved();
}

void resize_window(WindowId window, int width, int height) {
    Window* w = find(window);
    if (!w)
        return;
    width = std::max(width, scale(w->min_width, w->dpi));
    height = std::max(height, scale(w->min_height, w->dpi));
    if (w->rect.width == width && w->rect.height == height)
        return;
    w->rect.width = width;
    w->rect.height = height;
    w->events->resized();
}

void set_window_rect(WindowId window, Rect rect) {
    move_window(window, rect.left, rect.top);
    resize_window(window, rect.width, rect.height);
}

int window_dpi(WindowId window) {
    Window* w = find(window);
    return w ? w->dpi : design_dpi;
}

Rect control_rect(WindowId window, int control) {
    Control* c = find(window, control);
    return c ? c->rect : Rect{};
}

void set_control_rect(WindowId window, int control, Rect rect) {
    if (Control* c = find(window, control))
        c->rect = rect;
}

bool control_visible(WindowId window, int control) {
    Control* c = find(window, control);
    return c && c->visible;
}

void show_control(WindowId window, int control, bool visible) {
    if (Control* c = find(window, control))
        c->visible = visible;
}

void focus_control(WindowId window, int control) {
    if (find(window, control)) {
        state().focus_window = window;
        state().focus_control = control;
    }
}

std::string edit_text(WindowId window, int control) {
    Control* c = find(window, control);
    return c ? c->text : std::string();
}

void set_edit_text(WindowId window, int control, Text text) {
    Control* c = find(window, control);
    if (!c)
        return;
    c->text = std::string(text);
    c->selection_start = c->selection_end = 0;
    // A single-line edit reports every WM_SETTEXT, even of the same text; a multi-line one none.
    if (c->kind == ControlKind::search_edit)
        find(window)->events->text_changed(control);
}

void edit_copy(WindowId window, int control) {
    Control* c = find(window, control);
    if (c && c->selection_end > c->selection_start)
        state().clipboard = c->text.substr(c->selection_start, c->selection_end - c->selection_start);
}

void edit_select_all(WindowId window, int control) {
    if (Control* c = find(window, control)) {
        c->selection_start = 0;
        c->selection_end = c->text.size();
    }
}

void list_clear(WindowId window, int control) {
    if (Control* c = find(window, control)) {
        c->rows.clear();
        c->selected_row = -1;
    }
}

void list_append(WindowId window, int control, Text row) {
    if (Control* c = find(window, control))
        c->rows.emplace_back(row);
}

int list_count(WindowId window, int control) {
    Control* c = find(window, control);
    return c ? int(c->rows.size()) : 0;
}

std::string list_row(WindowId window, int control, int row) {
    Control* c = find(window, control);
    return c && row >= 0 && row < int(c->rows.size()) ? c->rows[size_t(row)] : std::string();
}

int list_selection(WindowId window, int control) {
    Control* c = find(window, control);
    return c ? c->selected_row : -1;
}

void list_select(WindowId window, int control, int row) {
    if (Control* c = find(window, control))
        c->selected_row = row >= 0 && row < int(c->rows.size()) ? row : -1;
}

void set_list_height(WindowId window, int control, int height) {
    if (Control* c = find(window, control))
        c->rect.height = height;
}

// The model's fonts fit their rows: a row is the design height scaled.
int list_row_height(WindowId window, int control) {
    Control* c = find(window, control);
    return c ? scale(c->row_height, find(window)->dpi) : 0;
}

void tree_fill(WindowId window, int control, std::span<const TreeItem> items) {
    if (Control* c = find(window, control))
        for (const TreeItem& item : items)
            c->tree.push_back({std::string(item.caption), item.level, item.value});
}

std::optional<uint32_t> tree_selected_value(WindowId window, int control) {
    Control* c = find(window, control);
    if (!c || !c->tree_selection)
        return std::nullopt;
    return c->tree[*c->tree_selection].value;
}

std::optional<size_t> tree_selected_position(WindowId window, int control) {
    Control* c = find(window, control);
    return c ? c->tree_selection : std::nullopt;
}

void tree_select(WindowId window, int control, size_t position) {
    Control* c = find(window, control);
    // Selecting the item that is already selected sends no notification.
    if (!c || position >= c->tree.size() || c->tree_selection == position)
        return;
    c->tree_selection = position;
    find(window)->events->selection_changed(control);
}

void list_view_clear(WindowId window, int control) {
    if (Control* c = find(window, control)) {
        c->cells.clear();
        c->selected_row = -1;
    }
}

int list_view_append_row(WindowId window, int control) {
    Control* c = find(window, control);
    if (!c)
        return -1;
    c->cells.emplace_back(c->columns.size());
    return int(c->cells.size()) - 1;
}

void list_view_set_cell(WindowId window, int control, int row, int column, Text text) {
    Control* c = find(window, control);
    if (c && row >= 0 && row < int(c->cells.size()) && column >= 0 && column < int(c->columns.size()))
        c->cells[size_t(row)][size_t(column)] = std::string(text);
}

std::string list_view_cell(WindowId window, int control, int row, int column) {
    Control* c = find(window, control);
    if (!c || row < 0 || row >= int(c->cells.size()) || column < 0 || column >= int(c->columns.size()))
        return {};
    return c->cells[size_t(row)][size_t(column)];
}

int list_view_row_count(WindowId window, int control) {
    Control* c = find(window, control);
    return c ? int(c->cells.size()) : 0;
}

int list_view_selection(WindowId window, int control) {
    Control* c = find(window, control);
    return c ? c->selected_row : -1;
}

int popup_menu(WindowId, std::span<const MenuItem> items) {
    std::vector<std::string> shown;
    for (const MenuItem& item : items)
        shown.emplace_back(item.caption);
    state().menus_shown.push_back(shown);
    if (state().menu_choices.empty())
        return 0;
    int chosen = state().menu_choices.front();
    state().menu_choices.pop_front();
    return chosen;
}

Answer message_box(WindowId, Text text, Text title, Buttons buttons) {
    bool answered = !state().answers.empty();
    // Unanswered, a box counts as closed with its close box.
    Answer answer = answered ? state().answers.front() : (buttons == Buttons::ok ? Answer::ok : Answer::cancel);
    if (answered)
        state().answers.pop_front();
    state().message_boxes.push_back({std::string(text), std::string(title), buttons, answered});
    return buttons == Buttons::ok ? Answer::ok : answer;
}

void set_clipboard_text(Text text) {
    state().clipboard = std::string(text);
}

bool on_a_monitor(Rect r) {
    const Rect& m = state().monitor;
    // Edges in 64 bits: a stored place and size from config.ini can reach past the int range.
    auto right = int64_t(r.left) + r.width, bottom = int64_t(r.top) + r.height;
    return r.left < m.left + m.width && right > m.left && r.top < m.top + m.height && bottom > m.top;
}

Rect nearest_work_area(Rect) {
    return state().work_area;
}

void run_until_closed(WindowId) {}

}  // namespace gui
