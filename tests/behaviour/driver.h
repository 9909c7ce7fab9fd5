// The test driver: what a person does with the program and what they see, worked
// on the headless model natively and on the real controls under Wine. The
// behaviour tests are written once against this.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gui/files.h"
#include "gui/gui.h"

namespace driver {

// A clean start for each test: no geometry file, no download folder, an empty
// clipboard, no answers or boxes left over, no window open.
void reset();
gui::Path executable_directory();

// The browser window, as the program starts it; its created event has run.
gui::WindowId start();
// The frame's close box.
void close(gui::WindowId window);
// The open window with this caption (UTF-8), or {} when none is open.
gui::WindowId find_window(std::string_view caption_utf8);

// Mouse and keyboard.
void select_tree_item(gui::WindowId window, int control, size_t position);
void type(gui::WindowId window, int control, std::string_view gbk_text);  // character by character
void clear_text(gui::WindowId window, int control);                       // select all and delete
void press_key(gui::WindowId window, int control, int virtual_key);       // with the focus on the control
void click_button(gui::WindowId window, int control);
void double_click_row(gui::WindowId window, int control, int row);
void select_row(gui::WindowId window, int control, int row);  // a single click
// Right button over a read-only text, then the menu item at index (-1: dismiss).
void right_click_text(gui::WindowId window, int control, int menu_index);
// The keyboard's menu key on a read-only text, then the menu item at index.
void menu_key_on_text(gui::WindowId window, int control, int menu_index);
// Right button over a list-view cell (it selects the row), then the menu item.
void right_click_cell(gui::WindowId window, int control, int row, int column, int menu_index);
// Selects the first occurrence of a part of an edit's text, as with the mouse.
void select_text(gui::WindowId window, int control, std::string_view gbk_part);
void scroll_list_view(gui::WindowId window, int control, int dx);
void set_column_width(gui::WindowId window, int control, int column, int width);
// A drag of the frame: the platform keeps it at or above the minimum size.
void drag_to(gui::WindowId window, gui::Rect rect);
void minimize(gui::WindowId window);
void maximize(gui::WindowId window);

// Display scale. Windows opened from now on come up at this DPI; false where the
// platform cannot choose it (under Wine the prefix's LogPixels fixes it).
bool use_dpi(int dpi);
// The window dragged onto a monitor of another DPI: the system tells it the new DPI
// and suggests a rectangle.
void change_dpi(gui::WindowId window, int dpi, gui::Rect suggested);

// What is seen.
int focused_control(gui::WindowId window);  // 0 when the focus is elsewhere
int list_view_row_height(gui::WindowId window, int control);
struct ListViewColumn {
    int width = 0;
    bool centred = false;
};
ListViewColumn list_view_column(gui::WindowId window, int control, int column);
struct Font {
    int height;  // negative: character height
    int weight;
    int charset;
    int line_height;  // what a line of it takes on screen; 0 where the platform has no font metrics
};
Font control_font(gui::WindowId window, int control);

// Message boxes: each box takes the next queued answer; an unanswered box is
// closed with its close box and marked so.
void answer_next_message_box(gui::Answer answer);
struct MessageBoxSeen {
    std::string text, title;  // GBK
    gui::Buttons buttons;
    bool has_icon;
    bool answered;
};
std::vector<MessageBoxSeen> message_boxes();
void forget_message_boxes();

std::optional<std::string> clipboard_text();  // GBK; nullopt when it holds no text
void set_clipboard_text(std::string_view gbk_text);

}  // namespace driver
