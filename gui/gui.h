// The thin layer over windows, controls, message boxes, the clipboard, profile files
// and the file system. Everything else calls this and never includes windows.h.
// gui/win32/ is the product; gui/headless/ is an in-memory model of the same
// behaviour for fast native tests. The build links exactly one of them.
//
// Texts are GBK byte strings (the catalogue's encoding); only the Win32
// implementation converts them, with code page 936.
//
// Program-made changes notify at once, inside the call, exactly like a user's: a
// tree selection, an edit box's text, a window's position or size.
//
// Specs hold design values for 96 DPI, which the layer scales to the window's DPI
// (gui/scaling.h); every other position and size is in pixels as the system reports them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace gui {

using Text = std::string_view;

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

// A window while it exists; an id is never reused, so a closed window's id stays closed.
struct WindowId {
    uint32_t value = 0;
    bool operator==(const WindowId&) const = default;
};

enum class ControlKind {
    search_edit,     // single-line, editable, bordered
    read_only_text,  // multi-line, read-only, vertical scroll bar, wraps long lines, no border
    button,
    list_box,
    tree_view,
    list_view,  // report view
};

struct ListViewColumn {
    int width;
    bool centred;  // otherwise left-aligned
};

struct ControlSpec {
    int id;
    ControlKind kind;
    Rect rect;  // relative to the client area
    Text caption = {};
    bool visible = true;
    bool gb2312_font = false;  // 13-pixel GB2312 font instead of the message font
    std::span<const ListViewColumn> columns = {};
    // List view and list box: 0 for the platform's own. A list box's rows are never
    // lower than its font's line.
    int row_height = 0;
};

struct WindowSpec {
    Text caption;
    Rect frame;  // design position and outer size
    int min_width, min_height;
    std::span<const ControlSpec> controls;
};

// The events a window's wrapper object handles. Control events name the control id.
class WindowEvents {
  public:
    // The first event: the window exists with its controls; id is its handle from now on.
    virtual void created(WindowId /*self*/) {}
    virtual void moved() {}
    virtual void resized() {}
    virtual void destroying() {}
    virtual void clicked(int /*control*/) {}
    virtual void text_changed(int /*control*/) {}
    virtual void selection_changed(int /*control*/) {}  // tree view
    virtual void double_clicked(int /*control*/) {}     // list box row
    // A key pressed while the control has the focus; return true when handled, so
    // that the control's own behaviour is skipped.
    virtual bool key_down(int /*control*/, int /*virtual_key*/) { return false; }
    // The context-menu request over a read-only text (right button or the menu key).
    virtual void context_menu(int /*control*/) {}
    // A list-view row right-clicked; column is the cell's column under the pointer
    // (scrolling and column widths accounted for), -1 when none.
    virtual void item_right_clicked(int /*control*/, int /*row*/, int /*column*/) {}
    // The window came onto a monitor of another scale. The controls already stand at
    // their design places for the new DPI with fonts made for it, and the window at the
    // rectangle the system suggested; what the program sized itself is its own to redo.
    virtual void dpi_changed() {}

  protected:
    ~WindowEvents() = default;
};

// Windows. open_window creates the window (owned by owner when given, modeless),
// runs its created event, in which it can still be moved unseen, and shows it; close_window runs the destroying event of each
// owned window and then of the window, and destroys them.
WindowId open_window(const WindowSpec& spec, WindowEvents& events, WindowId owner = {});
// Puts a window on screen before its created event ends (open_window shows it after).
void show_window(WindowId window);
bool is_open(WindowId window);
void close_window(WindowId window);
// Position and outer size; for a minimised or maximised window, its restored place.
Rect window_rect(WindowId window);
void move_window(WindowId window, int left, int top);
void resize_window(WindowId window, int width, int height);
// Position and size in one step: one move and one resize notification at most.
void set_window_rect(WindowId window, Rect rect);
// The dots per inch of the monitor the window is on, as the window's layout uses them.
int window_dpi(WindowId window);

// Controls.
Rect control_rect(WindowId window, int control);
void set_control_rect(WindowId window, int control, Rect rect);
bool control_visible(WindowId window, int control);
void show_control(WindowId window, int control, bool visible);
void focus_control(WindowId window, int control);

// Edit boxes.
std::string edit_text(WindowId window, int control);
void set_edit_text(WindowId window, int control, Text text);
void edit_copy(WindowId window, int control);        // the selection to the clipboard (WM_COPY)
void edit_select_all(WindowId window, int control);  // EM_SETSEL 0, -1

// List boxes. Rows and selection are 0-based; -1 is no row.
void list_clear(WindowId window, int control);
void list_append(WindowId window, int control, Text row);
int list_count(WindowId window, int control);
std::string list_row(WindowId window, int control, int row);
int list_selection(WindowId window, int control);
void list_select(WindowId window, int control, int row);
void set_list_height(WindowId window, int control, int height);
int list_row_height(WindowId window, int control);

// Tree views: items in display order with a level (1 = root) and a value each.
struct TreeItem {
    Text caption;
    uint32_t level;
    uint32_t value;
};
void tree_fill(WindowId window, int control, std::span<const TreeItem> items);
// The value of the selected item; nullopt when nothing is selected.
std::optional<uint32_t> tree_selected_value(WindowId window, int control);
std::optional<size_t> tree_selected_position(WindowId window, int control);
void tree_select(WindowId window, int control, size_t position);

// List views.
void list_view_clear(WindowId window, int control);
int list_view_append_row(WindowId window, int control);
void list_view_set_cell(WindowId window, int control, int row, int column, Text text);
std::string list_view_cell(WindowId window, int control, int row, int column);
int list_view_row_count(WindowId window, int control);
int list_view_selection(WindowId window, int control);

// Popup menus at the mouse pointer: returns the chosen item's id, 0 when none.
struct MenuItem {
    int id;
    Text caption;
};
int popup_menu(WindowId window, std::span<const MenuItem> items);

// Modal message boxes without icon.
enum class Buttons { ok, ok_cancel };
enum class Answer { ok, cancel };
Answer message_box(WindowId owner, Text text, Text title, Buttons buttons);

void set_clipboard_text(Text text);

// Monitors: whether any part of a rectangle lies on a monitor, and the work area of
// the monitor nearest to it.
bool on_a_monitor(Rect rect);
Rect nearest_work_area(Rect rect);

// Runs the message loop until the window has been destroyed.
void run_until_closed(WindowId window);

}  // namespace gui
