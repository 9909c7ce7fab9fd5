// What selecting a tree item shows: the record's snippet in the code window, then
// its attachment in the one viewer window for its kind, a message, or the support
// file offer.
#pragma once

#include "catalogue/catalogue.h"
#include "gui/gui.h"
#include "viewers/constants_viewer.h"
#include "viewers/text_viewer.h"

namespace browser {

struct Viewers {
    explicit Viewers(gui::WindowId browser)
        : code(viewers::code_window, browser),
          global_variables(viewers::global_variables_window, browser),
          second_code(viewers::second_code_window, browser),
          constants(browser) {}

    viewers::TextViewer code;
    viewers::TextViewer global_variables;
    viewers::TextViewer second_code;
    viewers::ConstantsViewer constants;
};

// Runs on every change of the tree's selection, the program's own included.
void display_entry(gui::WindowId browser, Viewers& viewers);

void show_record(gui::WindowId browser, Viewers& viewers, const catalogue::SnippetRecord& record);

}  // namespace browser
