// The in-memory model behind the headless GUI: the state that the Win32 controls
// would hold, and what the tests set up (answers to message boxes and menus, the
// executable's folder, the screen). The headless test driver reads and works it.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "gui/files.h"
#include "gui/gui.h"

namespace gui::headless {

struct TreeNode {
    std::string caption;
    uint32_t level;
    uint32_t value;
};

struct Control {
    int id = 0;
    ControlKind kind{};
    Rect design;  // at 96 DPI
    Rect rect;
    bool visible = true;
    std::string text;                               // edits and buttons
    size_t selection_start = 0, selection_end = 0;  // edits
    std::vector<std::string> rows;                  // list box
    int selected_row = -1;                          // list box and list view
    std::vector<TreeNode> tree;
    std::optional<size_t> tree_selection;
    std::vector<ListViewColumn> columns;  // widths at the window's DPI
    int row_height = 0;                   // at 96 DPI
    bool gb2312_font = false;
    std::vector<std::vector<std::string>> cells;  // list view rows of column texts
};

struct Window {
    WindowId id;
    WindowId owner;
    std::string caption;
    Rect rect;
    int dpi = 96;
    int min_width = 0, min_height = 0;  // at 96 DPI
    WindowEvents* events = nullptr;
    std::vector<Control> controls;
    bool minimized = false;
};

struct MessageBoxShown {
    std::string text, title;
    Buttons buttons;
    bool answered;
};

struct State {
    std::map<uint32_t, Window> windows;
    uint32_t last_id = 0;
    std::optional<std::string> clipboard;
    std::deque<Answer> answers;
    std::vector<MessageBoxShown> message_boxes;
    std::deque<int> menu_choices;  // ids, 0 for dismissing the menu
    std::vector<std::vector<std::string>> menus_shown;
    Path executable_directory;
    Rect monitor{0, 0, 1280, 1024};
    Rect work_area{0, 0, 1280, 984};
    int dpi = 96;  // of the monitor: windows opened from now on take it
    WindowId focus_window;
    int focus_control = 0;
};

State& state();
void reset(const Path& executable_directory);
Window* find(WindowId window);
Control* find(WindowId window, int control);
// What the system does when a window is dragged onto a monitor of another DPI.
void change_dpi(WindowId window, int dpi, Rect suggested);

}  // namespace gui::headless
