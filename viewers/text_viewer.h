// The three viewer windows that show one text in a read-only edit box: the code
// window (the snippet), the global-variables window and the second code window.
#pragma once

#include "gui/gui.h"

namespace viewers {

struct TextViewerKind {
    const char* caption;
    const char* key_prefix;  // in the geometry file
    gui::Rect design;        // never shows: the geometry file or the defaults replace it
    gui::Rect edit_design;
};

extern const TextViewerKind code_window;              // "主窗口"
extern const TextViewerKind global_variables_window;  // "全局变量"
extern const TextViewerKind second_code_window;       // "主窗口2"

class TextViewer : public gui::WindowEvents {
  public:
    enum Control : int { 编辑框1 = 101 };

    TextViewer(const TextViewerKind& kind, gui::WindowId browser) : kind_(kind), browser_(browser) {}

    // Whether the window exists is asked of the GUI layer each time.
    bool is_open() const { return gui::is_open(window_); }
    void open_if_closed();
    void close_if_open();
    // Replaces the whole text; the window is neither moved, raised nor activated.
    void set_text(gui::Text text);
    gui::WindowId window() const { return window_; }

    void created(gui::WindowId self) override;
    void moved() override { layout(); }
    void resized() override { layout(); }
    void destroying() override;
    void context_menu(int control) override;
    void dpi_changed() override { layout(); }

  private:
    void layout();

    const TextViewerKind& kind_;
    gui::WindowId browser_;
    gui::WindowId window_;
};

}  // namespace viewers
