// The browser window: start-up, layout rule, tab order and the first-run notice.
#include "fixture.h"

TEST_F(Behaviour, FirstStartShowsTheNoticeAndTheNextStartDoesNot) {
    driver::answer_next_message_box(gui::Answer::ok);
    browser_ = driver::start();
    auto boxes = driver::message_boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, G("注意：初始位置需要用户设置，请勿使用本软件编写有损他人利益的软件，造成的后果全部自负。"));
    EXPECT_EQ(boxes[0].title, G("温馨提示"));
    EXPECT_EQ(boxes[0].buttons, gui::Buttons::ok);
    EXPECT_FALSE(boxes[0].has_icon);
    EXPECT_EQ(gui::window_rect(browser_), (gui::Rect{50, 50, 839, 587}));

    driver::close(browser_);
    EXPECT_FALSE(gui::is_open(browser_));
    EXPECT_EQ(stored_rect("window"), (gui::Rect{50, 50, 839, 587}));

    driver::forget_message_boxes();
    start();
    EXPECT_TRUE(driver::message_boxes().empty());
}

TEST_F(Behaviour, ControlsStandAtTheirPlaces) {
    start_first_run();
    EXPECT_EQ(gui::control_rect(browser_, 编辑框1), (gui::Rect{16, 17, 147, 24}));
    EXPECT_EQ(gui::control_rect(browser_, 按钮1), (gui::Rect{176, 16, 66, 26}));
    EXPECT_EQ(gui::control_rect(browser_, 列表框1), (gui::Rect{16, 40, 147, 24}));
    EXPECT_EQ(gui::control_rect(browser_, 树型框1), (gui::Rect{16, 54, 224, 587 - 110}));
    EXPECT_FALSE(gui::control_visible(browser_, 列表框1));
    EXPECT_TRUE(gui::control_visible(browser_, 树型框1));
    EXPECT_EQ(gui::edit_text(browser_, 编辑框1), "");
    EXPECT_EQ(gui::edit_text(browser_, 按钮1), G("查找"));
    driver::Font font = driver::control_font(browser_, 列表框1);
    EXPECT_EQ(font.height, -13);
    EXPECT_EQ(font.weight, 400);
    EXPECT_EQ(font.charset, 134);  // GB2312_CHARSET
}

TEST_F(Behaviour, StoredSizesBelowTheMinimumAreRaised) {
    struct Case {
        std::initializer_list<const char*> file;
        gui::Rect expected;
    };
    const Case cases[] = {
        {{"[config]", "window Left=10", "window Top=20", "window Winth=500", "window High=300"}, {10, 20, 839, 587}},
        {{"[config]"}, {0, 0, 839, 587}},  // present but empty: every value is 0, no notice
        {{"[config]", "window Left=30", "window Top=40", "window Winth=1000", "window High=700"}, {30, 40, 1000, 700}},
    };
    for (const Case& c : cases) {
        driver::reset();
        write_geometry_file(c.file);
        start();
        EXPECT_EQ(gui::window_rect(browser_), c.expected);
        EXPECT_EQ(gui::control_rect(browser_, 树型框1).height, c.expected.height - 110);
        EXPECT_TRUE(driver::message_boxes().empty());
        driver::close(browser_);
    }
}

TEST_F(Behaviour, ResizingMovesOnlyTheTreeAndNeverGoesBelowTheMinimum) {
    start_first_run();
    driver::drag_to(browser_, {60, 70, 1000, 800});
    EXPECT_EQ(gui::window_rect(browser_), (gui::Rect{60, 70, 1000, 800}));
    EXPECT_EQ(gui::control_rect(browser_, 树型框1), (gui::Rect{16, 54, 224, 690}));
    EXPECT_EQ(gui::control_rect(browser_, 编辑框1), (gui::Rect{16, 17, 147, 24}));
    EXPECT_EQ(gui::control_rect(browser_, 按钮1), (gui::Rect{176, 16, 66, 26}));

    driver::drag_to(browser_, {60, 70, 500, 300});
    EXPECT_EQ(gui::window_rect(browser_), (gui::Rect{60, 70, 839, 587}));
    EXPECT_EQ(gui::control_rect(browser_, 树型框1).height, 477);

    driver::drag_to(browser_, {90, 95, 839, 587});  // a move alone keeps the tree
    EXPECT_EQ(gui::control_rect(browser_, 树型框1).height, 477);
}

TEST_F(Behaviour, TabMovesBetweenSearchBoxButtonAndTree) {
    start_first_run();
    gui::focus_control(browser_, 编辑框1);
    driver::press_key(browser_, 编辑框1, 9);
    EXPECT_EQ(driver::focused_control(browser_), 按钮1);
    driver::press_key(browser_, 按钮1, 9);
    EXPECT_EQ(driver::focused_control(browser_), 树型框1);
    driver::press_key(browser_, 树型框1, 9);
    EXPECT_EQ(driver::focused_control(browser_), 编辑框1);
}
