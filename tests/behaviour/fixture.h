// What every behaviour test shares: a clean start, the program's windows by caption,
// and the geometry file.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "browser/browser_controls.h"
#include "catalogue/catalogue.h"
#include "driver.h"
#include "settings/geometry_file.h"
#include "tools/common/gbk.h"
#include "viewers/constants_viewer.h"
#include "viewers/text_viewer.h"

namespace gui {
inline std::ostream& operator<<(std::ostream& out, const Rect& r) {
    return out << "(" << r.left << ", " << r.top << ", " << r.width << " x " << r.height << ")";
}
}  // namespace gui

// Expected texts are spelled in UTF-8 and compared as GBK.
inline std::string G(std::string_view utf8) {
    return gbk::from_utf8(utf8).text;
}

using browser::列表框1;
using browser::按钮1;
using browser::树型框1;
using browser::编辑框1;
constexpr int text_box = viewers::TextViewer::编辑框1;
constexpr int constants_list = viewers::ConstantsViewer::超级列表框1;

class Behaviour : public ::testing::Test {
  protected:
    void SetUp() override { driver::reset(); }

    void TearDown() override {
        if (gui::is_open(browser_))
            driver::close(browser_);
        for (const driver::MessageBoxSeen& box : driver::message_boxes())
            EXPECT_TRUE(box.answered) << "a message box nobody expected: " << gbk::to_utf8(box.text).text;
    }

    // The program as a user starts it for the first time, the notice dismissed.
    gui::WindowId start_first_run() {
        driver::answer_next_message_box(gui::Answer::ok);
        browser_ = driver::start();
        driver::forget_message_boxes();
        return browser_;
    }

    gui::WindowId start() { return browser_ = driver::start(); }

    // A geometry file as a person may have left it; lines joined with CR LF.
    void write_geometry_file(std::initializer_list<const char*> lines) {
        std::ofstream out(settings::geometry_path().utf8, std::ios::binary);
        for (const char* line : lines)
            out << line << "\r\n";
    }

    std::string geometry_value(const std::string& key) {
        return gui::read_profile(settings::geometry_path(), "config", key, "<missing>");
    }

    gui::Rect stored_rect(const std::string& prefix) {
        auto v = [&](const char* field) { return settings::parse_value(geometry_value(prefix + " " + field)).value_or(-99999); };
        return {v("Left"), v("Top"), v("Winth"), v("High")};
    }

    gui::WindowId window(const char* caption) { return driver::find_window(caption); }
    std::string code_text() { return gui::edit_text(window("主窗口"), text_box); }

    // Selects the tree item at a position as a user's click does.
    void select(size_t position) { driver::select_tree_item(browser_, 树型框1, position); }

    gui::WindowId browser_;
};
