// The program at every display scale: each design value is for 96 DPI and scaled to the
// window's DPI (x dpi / 96, rounded as MulDiv). Natively every row of the table runs;
// under Wine the row of the prefix's DPI (the suite runs in a 96 and a 144 DPI prefix).
#include <algorithm>
#include <functional>

#include "fixture.h"
#include "gui/scaling.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>  // MulDiv, the system's own rule
#endif

namespace {

// The figures at one DPI, worked out by hand from the 96-DPI design values.
struct At {
    int dpi;
    gui::Rect browser;  // first start: the design place, raised to the minimum
    gui::Rect search_box, button, result_list, tree;
    int result_row;            // 15 scaled: the least a result row may be
    int result_frame;          // 2 scaled
    int result_font;           // 13 scaled
    gui::Rect code;            // the first code window: beside the browser window
    gui::Rect code_edit;       // the code window's outer size less 17 x 40 scaled
    int viewer_min;            // 200 scaled
    gui::Rect min_edit;        // the edit box of a code window at its minimum
    gui::Rect constants_list;  // the outer size less 17 x 39 scaled
    int constants_row;         // 20 scaled
    int columns[5];
};

const At table[] = {
    {96,
     {50, 50, 839, 587},
     {16, 17, 147, 24},
     {176, 16, 66, 26},
     {16, 40, 147, 24},
     {16, 54, 224, 477},
     15,
     2,
     13,
     {308, 98, 561, 521},
     {0, 0, 544, 481},
     200,
     {0, 0, 183, 160},
     {0, 0, 544, 482},
     20,
     {0, 80, 80, 80, 600}},
    {120,
     {63, 63, 1049, 734},
     {20, 21, 184, 30},
     {220, 20, 83, 33},
     {20, 50, 184, 30},
     {20, 68, 280, 596},
     19,
     3,
     16,
     {386, 123, 701, 651},
     {0, 0, 680, 601},
     250,
     {0, 0, 229, 200},
     {0, 0, 680, 602},
     25,
     {0, 100, 100, 100, 750}},
    {144,
     {75, 75, 1259, 881},
     {24, 26, 221, 36},
     {264, 24, 99, 39},
     {24, 60, 221, 36},
     {24, 81, 336, 716},
     23,
     3,
     20,
     {462, 147, 842, 782},
     {0, 0, 816, 722},
     300,
     {0, 0, 274, 240},
     {0, 0, 816, 723},
     30,
     {0, 120, 120, 120, 900}},
    {192,
     {100, 100, 1678, 1174},
     {32, 34, 294, 48},
     {352, 32, 132, 52},
     {32, 80, 294, 48},
     {32, 108, 448, 954},
     30,
     4,
     26,
     {616, 196, 1122, 1042},
     {0, 0, 1088, 962},
     400,
     {0, 0, 366, 320},
     {0, 0, 1088, 964},
     40,
     {0, 160, 160, 160, 1200}},
};

const At* at_dpi(int dpi) {
    for (const At& at : table)
        if (at.dpi == dpi)
            return &at;
    return nullptr;
}

}  // namespace

class Scaling : public Behaviour {
  protected:
    int search_for(std::string_view utf8) {
        driver::clear_text(browser_, 编辑框1);
        driver::type(browser_, 编辑框1, G(utf8));
        return gui::list_count(browser_, 列表框1);
    }

    // Runs the body once for each DPI the platform can show, from a clean first start.
    // A platform whose DPI has no row fails: its figures would go unchecked.
    void at_each_dpi(const std::function<void(const At&)>& body) {
        bool ran = false;
        for (const At& at : table) {
            if (gui::is_open(browser_))
                driver::close(browser_);
            driver::reset();
            if (!driver::use_dpi(at.dpi))
                continue;
            SCOPED_TRACE("at " + std::to_string(at.dpi) + " DPI");
            ran = true;
            body(at);
        }
        EXPECT_TRUE(ran) << "the display's DPI has no row in the table";
    }

    // The result list's rows: whole, at least the scaled design row and the font's line.
    void expect_result_list_fits(const At& at, int rows) {
        int row = gui::list_row_height(browser_, 列表框1);
        EXPECT_GE(row, at.result_row);
        driver::Font font = driver::control_font(browser_, 列表框1);
        EXPECT_GE(row, font.line_height);
        EXPECT_EQ(font.height, -at.result_font);
        EXPECT_EQ(font.charset, 134);  // GB2312_CHARSET
        gui::Rect list = gui::control_rect(browser_, 列表框1);
        EXPECT_EQ(list, (gui::Rect{at.result_list.left, at.result_list.top, at.result_list.width, row * rows + at.result_frame}));
    }
};

TEST(ScalingRule, RoundsLikeMulDiv) {
    struct Case {
        int value, dpi, expected;
    };
    const Case cases[] = {
        {839, 96, 839}, {839, 120, 1049}, {587, 120, 734}, {13, 144, 20},   {15, 144, 23}, {1, 144, 2},      {3, 120, 4},
        {5, 120, 6},    {2, 120, 3},      {-1, 144, -2},   {-13, 144, -20}, {0, 192, 0},   {600, 192, 1200}, {-20, 120, -25},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gui::scale(c.value, c.dpi), c.expected) << c.value << " at " << c.dpi;
#ifdef _WIN32
    for (int dpi : {96, 108, 120, 144, 168, 192, 240})
        for (int value = -1000; value <= 1000; ++value)
            ASSERT_EQ(gui::scale(value, dpi), MulDiv(value, dpi, 96)) << value << " at " << dpi;
#endif
}

TEST_F(Scaling, BrowserWindowControlsAndMinimum) {
    at_each_dpi([&](const At& at) {
        start_first_run();
        EXPECT_EQ(gui::window_dpi(browser_), at.dpi);
        EXPECT_EQ(gui::window_rect(browser_), at.browser);
        EXPECT_EQ(gui::control_rect(browser_, 编辑框1), at.search_box);
        EXPECT_EQ(gui::control_rect(browser_, 按钮1), at.button);
        EXPECT_EQ(gui::control_rect(browser_, 列表框1), at.result_list);
        EXPECT_EQ(gui::control_rect(browser_, 树型框1), at.tree);
        EXPECT_GE(gui::control_rect(browser_, 编辑框1).height, driver::control_font(browser_, 编辑框1).line_height);

        driver::drag_to(browser_, {40, 30, 300, 200});
        EXPECT_EQ(gui::window_rect(browser_), (gui::Rect{40, 30, at.browser.width, at.browser.height}));
        driver::drag_to(browser_, {40, 30, at.browser.width + 100, at.browser.height + 50});
        EXPECT_EQ(gui::control_rect(browser_, 树型框1).height, at.tree.height + 50);
        EXPECT_EQ(gui::control_rect(browser_, 编辑框1), at.search_box);
    });
}

TEST_F(Scaling, ResultListHoldsItsRowsWhole) {
    at_each_dpi([&](const At& at) {
        start_first_run();
        ASSERT_EQ(search_for("激活"), 2);
        expect_result_list_fits(at, 2);
        ASSERT_EQ(search_for("到"), 12);
        expect_result_list_fits(at, 12);
    });
}

TEST_F(Scaling, ViewerWindowsLayoutAndMinimum) {
    at_each_dpi([&](const At& at) {
        start_first_run();
        select(2);
        gui::WindowId code = window("主窗口");
        ASSERT_TRUE(gui::is_open(code));
        EXPECT_EQ(gui::window_rect(code), at.code);
        EXPECT_EQ(gui::control_rect(code, text_box), at.code_edit);
        driver::drag_to(code, {100, 100, 120, 150});
        EXPECT_EQ(gui::window_rect(code), (gui::Rect{100, 100, at.viewer_min, at.viewer_min}));
        EXPECT_EQ(gui::control_rect(code, text_box), at.min_edit);

        select(161);  // 发送消息 / 系统: a constants table
        gui::WindowId constants = window("常量表");
        ASSERT_TRUE(gui::is_open(constants));
        EXPECT_EQ(gui::window_rect(constants), at.code);
        EXPECT_EQ(gui::control_rect(constants, constants_list), at.constants_list);
        int row = driver::list_view_row_height(constants, constants_list);
        EXPECT_TRUE(row == at.constants_row || row == at.constants_row + 1) << row;  // Wine: one pixel more
        EXPECT_GE(row, driver::control_font(constants, constants_list).line_height);
        for (int c = 0; c < 5; ++c)
            EXPECT_EQ(driver::list_view_column(constants, constants_list, c).width, at.columns[c]) << c;
        driver::drag_to(constants, {100, 100, 120, 150});
        EXPECT_EQ(gui::window_rect(constants), (gui::Rect{100, 100, at.viewer_min, at.viewer_min}));
    });
}

// config.ini holds screen pixels as the system reports them: a file written at one
// scale reads back unchanged at another, unless it is below the scaled minimum.
TEST_F(Scaling, StoredSizesArePixelsRaisedToTheScaledMinimum) {
    at_each_dpi([&](const At& at) {
        write_geometry_file({"[config]", "window Left=10", "window Top=20", "window Winth=500", "window High=300",
                             "window2 Left=30", "window2 Top=40", "window2 Winth=1000", "window2 High=190"});
        start();
        EXPECT_EQ(gui::window_rect(browser_), (gui::Rect{10, 20, at.browser.width, at.browser.height}));
        select(2);
        EXPECT_EQ(gui::window_rect(window("主窗口")), (gui::Rect{30, 40, 1000, at.viewer_min}));
        driver::close(browser_);
        EXPECT_EQ(stored_rect("window"), (gui::Rect{10, 20, at.browser.width, at.browser.height}));
        EXPECT_EQ(stored_rect("window2"), (gui::Rect{30, 40, 1000, at.viewer_min}));

        // Within the screen of the tests (1280 x 1024): the system keeps a window no
        // larger than the screen and its frame.
        write_geometry_file({"[config]", "window Left=10", "window Top=20", "window Winth=1270", "window High=1000"});
        start();
        gui::Rect expected{10, 20, std::max(1270, at.browser.width), std::max(1000, at.browser.height)};
        EXPECT_EQ(gui::window_rect(browser_), expected);
        driver::close(browser_);
        EXPECT_EQ(stored_rect("window"), expected);
    });
}

// Dragged onto a monitor of another scale, a window takes the suggested rectangle and
// lays itself out for the new DPI: controls, fonts, allowances and minimum.
TEST_F(Scaling, ADpiChangeRescalesControlsFontsAndMinimum) {
    const std::pair<int, int> changes[] = {{96, 144}, {120, 192}, {144, 96}, {192, 120}};
    at_each_dpi([&](const At& from) {
        int to_dpi = 0;
        for (auto [a, b] : changes)
            if (a == from.dpi)
                to_dpi = b;
        const At& to = *at_dpi(to_dpi);
        SCOPED_TRACE("to " + std::to_string(to.dpi) + " DPI");
        start_first_run();
        ASSERT_EQ(search_for("激活"), 2);
        select(2);
        gui::WindowId code = window("主窗口");

        gui::Rect suggested{30, 40, to.browser.width + 10, to.browser.height + 20};
        driver::change_dpi(browser_, to.dpi, suggested);
        EXPECT_EQ(gui::window_dpi(browser_), to.dpi);
        EXPECT_EQ(gui::window_rect(browser_), suggested);
        EXPECT_EQ(gui::control_rect(browser_, 编辑框1), to.search_box);
        EXPECT_EQ(gui::control_rect(browser_, 按钮1), to.button);
        EXPECT_EQ(gui::control_rect(browser_, 树型框1),
                  (gui::Rect{to.tree.left, to.tree.top, to.tree.width, to.tree.height + 20}));
        EXPECT_TRUE(gui::control_visible(browser_, 列表框1));
        expect_result_list_fits(to, 2);
        driver::drag_to(browser_, {30, 40, 100, 100});
        EXPECT_EQ(gui::window_rect(browser_), (gui::Rect{30, 40, to.browser.width, to.browser.height}));

        gui::Rect code_suggested{200, 100, to.code.width, to.code.height};
        driver::change_dpi(code, to.dpi, code_suggested);
        EXPECT_EQ(gui::window_rect(code), code_suggested);
        EXPECT_EQ(gui::control_rect(code, text_box), to.code_edit);
        driver::drag_to(code, {200, 100, 10, 10});
        EXPECT_EQ(gui::window_rect(code), (gui::Rect{200, 100, to.viewer_min, to.viewer_min}));
        EXPECT_EQ(gui::control_rect(code, text_box), to.min_edit);
    });
}
