#include "constants_viewer.h"

#include "catalogue/catalogue.h"
#include "settings/geometry_file.h"
#include "viewer_layout.h"

namespace viewers {

namespace {

// Column 0 is a hidden zero-width column (the platform draws column 0 left-aligned
// whatever its format); the four fields of a line fill columns 1 to 4.
const gui::ListViewColumn columns[] = {{0, false}, {80, true}, {80, true}, {80, true}, {600, false}};

const gui::MenuItem 右键菜单[] = {{ConstantsViewer::复制, "复制"}};

}  // namespace

void ConstantsViewer::open_if_closed() {
    if (is_open())
        return;
    gui::ControlSpec list{超级列表框1, gui::ControlKind::list_view, {0, 0, 200, 200}};
    list.columns = columns;
    list.row_height = 20;
    const gui::ControlSpec controls[] = {list};
    gui::open_window({"常量表", {50, 50, 200, 200}, min_width, min_height, controls}, *this, browser_);
}

void ConstantsViewer::close_if_open() {
    if (is_open())
        gui::close_window(window_);
}

void ConstantsViewer::fill(gui::Text table) {
    gui::list_view_clear(window_, 超级列表框1);
    catalogue::Splitter lines = catalogue::table_rows(table);
    for (catalogue::Text line; lines.next(line);) {
        // The empty piece after a table's final CR LF is no row.
        if (line.empty())
            continue;
        int row = gui::list_view_append_row(window_, 超级列表框1);
        // Fields 1 to 3 end at the first three "--"; the remark is all the rest, so a
        // remark that itself holds "--" (value lists of the video engine's items) shows whole.
        catalogue::Splitter fields = catalogue::row_fields(line);
        catalogue::Text field;
        for (int column = 1; column <= 3 && fields.next(field); ++column) {
            gui::list_view_set_cell(window_, 超级列表框1, row, column, field);
            line.remove_prefix(std::min(line.size(), field.size() + 2));
            if (column == 3)
                gui::list_view_set_cell(window_, 超级列表框1, row, 4, line);
        }
    }
}

void ConstantsViewer::created(gui::WindowId self) {
    window_ = self;
    settings::load_geometry(window_, "window4", default_geometry(browser_));
}

void ConstantsViewer::destroying() {
    settings::save_geometry(window_, "window4");
}

// The right-click selects the row; the column is the one under the pointer at the
// click, so the cell copied is the cell clicked, however the list is scrolled.
void ConstantsViewer::item_right_clicked(int control, int, int column) {
    if (control != 超级列表框1 || gui::popup_menu(window_, 右键菜单) != 复制)
        return;
    int row = gui::list_view_selection(window_, 超级列表框1);
    if (row < 0 || column < 0)
        return;
    gui::set_clipboard_text(gui::list_view_cell(window_, 超级列表框1, row, column));
}

// The list fills the client area: the outer size less 17 x 39.
void ConstantsViewer::layout() {
    gui::set_control_rect(window_, 超级列表框1, client_fill(window_, 17, 39));
    raise_to_minimum(window_);
}

}  // namespace viewers
