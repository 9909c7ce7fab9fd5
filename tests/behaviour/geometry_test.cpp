// The geometry file: defaults, what each window writes, hand-edited values, and
// windows closed minimised, maximised or off screen.
#include "fixture.h"

namespace {

constexpr size_t position_with_globals = 34;     // 窗口 / 枚举
constexpr size_t position_with_companion = 202;  // 注册表 / DWORD值
constexpr size_t position_plain = 2;             // 窗口句柄 / 父句柄

}  // namespace

TEST_F(Behaviour, FirstCodeWindowStandsAtTheDefaultPlace) {
    start_first_run();
    select(position_plain);
    gui::WindowId code = window("主窗口");
    ASSERT_TRUE(gui::is_open(code));
    EXPECT_EQ(gui::window_rect(code), (gui::Rect{308, 98, 561, 521}));
    EXPECT_EQ(gui::control_rect(code, text_box), (gui::Rect{0, 0, 544, 481}));
}

TEST_F(Behaviour, EachViewerWindowWritesOnlyItsOwnKeys) {
    start_first_run();
    select(position_with_globals);
    gui::WindowId globals = window("全局变量");
    ASSERT_TRUE(gui::is_open(globals));
    driver::drag_to(globals, {111, 122, 333, 344});
    driver::close(globals);
    EXPECT_EQ(stored_rect("window3"), (gui::Rect{111, 122, 333, 344}));
    EXPECT_EQ(geometry_value("window2 Left"), "<missing>");

    select(position_with_companion);
    gui::WindowId second = window("主窗口2");
    ASSERT_TRUE(gui::is_open(second));
    driver::drag_to(second, {10, 20, 400, 300});
    driver::close(second);
    EXPECT_EQ(stored_rect("window5"), (gui::Rect{10, 20, 400, 300}));
    EXPECT_EQ(geometry_value("window2 Left"), "<missing>");
    EXPECT_EQ(stored_rect("window3"), (gui::Rect{111, 122, 333, 344}));

    // Reopened where it was closed.
    select(position_with_globals);
    EXPECT_EQ(gui::window_rect(window("全局变量")), (gui::Rect{111, 122, 333, 344}));
}

TEST_F(Behaviour, AStoredSizeBelowTheMinimumIsRaisedAndSavedRaised) {
    write_geometry_file({"[config]", "window Left=50", "window Top=50", "window Winth=839", "window High=587", "window2 Left=300",
                         "window2 Top=310", "window2 Winth=150", "window2 High=120"});
    start();
    select(position_plain);
    gui::WindowId code = window("主窗口");
    EXPECT_EQ(gui::window_rect(code), (gui::Rect{300, 310, 200, 200}));
    driver::close(code);
    EXPECT_EQ(stored_rect("window2"), (gui::Rect{300, 310, 200, 200}));
}

TEST_F(Behaviour, AWindowPartlyOffScreenStaysWhereItWas) {
    write_geometry_file({"[config]", "window Left=-20", "window Top=10", "window Winth=900", "window High=600"});
    start();
    EXPECT_EQ(gui::window_rect(browser_), (gui::Rect{-20, 10, 900, 600}));
    driver::close(browser_);
    EXPECT_EQ(geometry_value("window Left"), "-20");
}

// A window stored where no monitor is (a screen that is gone) comes back onto the
// nearest monitor's work area, keeping its size.
TEST_F(Behaviour, AWindowOnNoMonitorIsBroughtBack) {
    write_geometry_file({"[config]", "window Left=5000", "window Top=4000", "window Winth=900", "window High=600"});
    start();
    gui::Rect r = gui::window_rect(browser_);
    EXPECT_EQ(r.width, 900);
    EXPECT_EQ(r.height, 600);
    EXPECT_TRUE(gui::on_a_monitor(r)) << r;
    gui::Rect area = gui::nearest_work_area(r);
    EXPECT_GE(r.left, area.left);
    EXPECT_LE(r.left + r.width, area.left + area.width);
    EXPECT_LE(r.top + r.height, area.top + area.height);
}

// A hand-edited value that is not a plain decimal 32-bit integer counts as missing:
// 0 for the browser window, the default for a viewer window. The next close writes
// valid values again.
TEST_F(Behaviour, ValuesThatAreNoNumbersCountAsMissing) {
    const char* bad_values[] = {"abc", "12abc", "", " ", "99999999999", "-2147483649", "0x20", "1e3", "--5", "+"};
    for (const char* bad : bad_values) {
        SCOPED_TRACE(std::string("value '") + bad + "'");
        driver::reset();
        std::string browser_width = std::string("window Winth=") + bad;
        std::string code_left = std::string("window2 Left=") + bad;
        write_geometry_file(
            {"[config]", "window Left=50", "window Top=50", browser_width.c_str(), "window High=600", code_left.c_str()});
        start();
        EXPECT_EQ(gui::window_rect(browser_), (gui::Rect{50, 50, 839, 600}));
        select(position_plain);
        EXPECT_EQ(gui::window_rect(window("主窗口")).left, 308);
        driver::close(browser_);
        EXPECT_EQ(geometry_value("window Winth"), "839");
        EXPECT_EQ(geometry_value("window2 Left"), "308");
    }
}

TEST_F(Behaviour, AcceptedNumbers) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {{"0", 0},
                          {"-20", -20},
                          {"2147483647", 2147483647},
                          {"-2147483648", -2147483647 - 1},
                          {"007", 7},
                          {"0000009009000", 9009000}};
    for (const Case& c : cases)
        EXPECT_EQ(settings::parse_value(c.text), c.value) << c.text;
}

// Closed minimised or maximised, a window saves its restored place, never the
// minimised placeholder or the maximised frame.
TEST_F(Behaviour, MinimisedOrMaximisedWindowsSaveTheirRestoredPlace) {
    start_first_run();
    driver::drag_to(browser_, {100, 110, 900, 650});
    driver::minimize(browser_);
    driver::close(browser_);
    EXPECT_EQ(stored_rect("window"), (gui::Rect{100, 110, 900, 650}));

    start();
    select(position_plain);
    gui::WindowId code = window("主窗口");
    driver::drag_to(code, {200, 210, 400, 300});
    driver::maximize(code);
    driver::close(code);
    EXPECT_EQ(stored_rect("window2"), (gui::Rect{200, 210, 400, 300}));
}

// A window's stored values are applied in one step before it is shown. Applying them
// one field at a time, with the layout rule after each, must end in the same place:
// the reference here does that to the placed window and compares.
TEST_F(Behaviour, StoredGeometryInOneStepEndsWhereFieldByFieldWould) {
    struct Case {
        const char* prefix;  // "window": the browser, "window2": the code window
        std::vector<const char*> lines;
        int effective[4];  // the values after defaults: the browser has none (0), the code window 308, 98, 561, 521
    };
    const Case cases[] = {
        {"window2", {"window2 Left=300", "window2 Top=310", "window2 Winth=400", "window2 High=300"}, {300, 310, 400, 300}},
        {"window2", {"window2 Left=300", "window2 Top=310", "window2 Winth=150", "window2 High=120"}, {300, 310, 150, 120}},
        {"window2", {"window2 Left=abc", "window2 Top=40", "window2 High=1"}, {308, 40, 561, 1}},
        {"window2", {"window2 Left=-20", "window2 Top=0", "window2 Winth=0", "window2 High=-50"}, {-20, 0, 0, -50}},
        {"window", {"window Left=60", "window Top=70", "window Winth=x", "window High=700"}, {60, 70, 0, 700}},
        {"window", {"window Left=60"}, {60, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.prefix) + " " + std::to_string(c.effective[0]) + "," + std::to_string(c.effective[1]) + "," +
                     std::to_string(c.effective[2]) + "," + std::to_string(c.effective[3]));
        driver::reset();
        std::vector<std::string> lines = {"[config]"};
        if (std::string(c.prefix) != "window")
            lines.insert(lines.end(), {"window Left=50", "window Top=50", "window Winth=839", "window High=587"});
        lines.insert(lines.end(), c.lines.begin(), c.lines.end());
        {
            std::ofstream out(settings::geometry_path().utf8, std::ios::binary);
            for (const std::string& line : lines)
                out << line << "\r\n";
        }
        start();
        gui::WindowId w = browser_;
        if (std::string(c.prefix) == "window2") {
            select(position_plain);
            w = window("主窗口");
        }
        ASSERT_TRUE(gui::is_open(w));
        gui::Rect one_step = gui::window_rect(w);

        const int* v = c.effective;
        gui::move_window(w, v[0], gui::window_rect(w).top);
        gui::move_window(w, gui::window_rect(w).left, v[1]);
        gui::resize_window(w, v[2], gui::window_rect(w).height);
        gui::resize_window(w, gui::window_rect(w).width, v[3]);
        EXPECT_EQ(one_step, gui::window_rect(w));
    }
}
