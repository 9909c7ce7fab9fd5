// The browser window: the catalogue tree, the search box with its result list and
// the button "查找". It exists for the whole run and owns the viewer windows.
#pragma once

#include <memory>

#include "entry_display.h"
#include "gui/gui.h"

namespace browser {

class BrowserWindow : public gui::WindowEvents {
  public:
    // Creates and shows the window; its created event has run on return.
    gui::WindowId open();

    void created(gui::WindowId self) override;
    void moved() override { layout(); }
    void resized() override { layout(); }
    void destroying() override;
    void clicked(int control) override;
    void text_changed(int control) override;
    void selection_changed(int control) override;
    void double_clicked(int control) override;
    bool key_down(int control, int virtual_key) override;
    void dpi_changed() override;

  private:
    void layout();

    gui::WindowId window_;
    std::unique_ptr<Viewers> viewers_;
};

}  // namespace browser
