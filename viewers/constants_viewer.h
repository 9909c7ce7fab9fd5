// The constants window ("常量表"): a constants table in a five-column list, one row
// per line of the table, and a 复制 menu that copies the right-clicked cell.
#pragma once

#include "gui/gui.h"

namespace viewers {

class ConstantsViewer : public gui::WindowEvents {
  public:
    enum Control : int { 超级列表框1 = 101 };
    enum MenuItem : int { 复制 = 1 };

    explicit ConstantsViewer(gui::WindowId browser) : browser_(browser) {}

    bool is_open() const { return gui::is_open(window_); }
    void open_if_closed();
    void close_if_open();
    // Replaces every row with the lines of the table.
    void fill(gui::Text table);
    gui::WindowId window() const { return window_; }

    void created(gui::WindowId self) override;
    void moved() override { layout(); }
    void resized() override { layout(); }
    void destroying() override;
    void item_right_clicked(int control, int row, int column) override;
    void dpi_changed() override { layout(); }

  private:
    void layout();

    gui::WindowId browser_;
    gui::WindowId window_;
};

}  // namespace viewers
