#include "text_viewer.h"

#include "edit_menu.h"
#include "settings/geometry_file.h"
#include "viewer_layout.h"

namespace viewers {

const TextViewerKind code_window{"主窗口", "window2", {50, 50, 188, 250}, {32, 24, 104, 120}};
const TextViewerKind global_variables_window{"全局变量", "window3", {50, 50, 211, 268}, {32, 24, 136, 160}};
const TextViewerKind second_code_window{"主窗口2", "window5", {50, 50, 242, 265}, {32, 24, 176, 160}};

void TextViewer::open_if_closed() {
    if (is_open())
        return;
    const gui::ControlSpec controls[] = {{编辑框1, gui::ControlKind::read_only_text, kind_.edit_design}};
    gui::open_window({kind_.caption, kind_.design, min_width, min_height, controls}, *this, browser_);
}

void TextViewer::close_if_open() {
    if (is_open())
        gui::close_window(window_);
}

void TextViewer::set_text(gui::Text text) {
    gui::set_edit_text(window_, 编辑框1, text);
}

void TextViewer::created(gui::WindowId self) {
    window_ = self;
    settings::load_geometry(window_, kind_.key_prefix, default_geometry(browser_));
}

void TextViewer::destroying() {
    settings::save_geometry(window_, kind_.key_prefix);
}

void TextViewer::context_menu(int control) {
    if (control == 编辑框1)
        run_edit_menu(window_, 编辑框1);
}

// The edit box fills the client area of a standard frame: the outer size less 17 x 40.
void TextViewer::layout() {
    gui::set_control_rect(window_, 编辑框1, client_fill(window_, 17, 40));
    raise_to_minimum(window_);
}

}  // namespace viewers
