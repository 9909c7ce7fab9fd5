// The viewer windows: layout rule, read-only texts with their edit menu, and the
// constants window's list and cell copy.
#include "fixture.h"

TEST_F(Behaviour, TextViewerLayoutFollowsTheWindow) {
    start_first_run();
    select(2);
    gui::WindowId code = window("主窗口");
    struct Case {
        gui::Rect drag;
        gui::Rect window, edit;
    };
    const Case cases[] = {
        {{100, 100, 300, 250}, {100, 100, 300, 250}, {0, 0, 283, 210}},
        {{100, 100, 150, 120}, {100, 100, 200, 200}, {0, 0, 183, 160}},
        {{100, 100, 150, 400}, {100, 100, 200, 400}, {0, 0, 183, 360}},
    };
    for (const Case& c : cases) {
        driver::drag_to(code, c.drag);
        EXPECT_EQ(gui::window_rect(code), c.window);
        EXPECT_EQ(gui::control_rect(code, text_box), c.edit);
    }
}

TEST_F(Behaviour, TextsAreReadOnlyAndTheEditMenuCopiesThem) {
    start_first_run();
    select(2);  // 父句柄: two lines
    gui::WindowId code = window("主窗口");
    std::string snippet(catalogue::snippet_record(2)->snippet);
    EXPECT_EQ(code_text(), snippet);

    driver::type(code, text_box, "abc");
    EXPECT_EQ(code_text(), snippet);

    driver::set_clipboard_text("marker");
    driver::right_click_text(code, text_box, -1);  // dismissed
    EXPECT_EQ(driver::clipboard_text(), "marker");

    driver::select_text(code, text_box, "GetParent, ");
    driver::right_click_text(code, text_box, 0);  // 复制
    EXPECT_EQ(driver::clipboard_text(), "GetParent, ");

    driver::right_click_text(code, text_box, 1);  // 全选
    driver::right_click_text(code, text_box, 0);  // 复制
    EXPECT_EQ(driver::clipboard_text(), snippet);
    EXPECT_EQ(driver::focused_control(code), text_box);
}

TEST_F(Behaviour, TheMenuKeyOpensTheEditMenuToo) {
    start_first_run();
    select(2);
    gui::WindowId code = window("主窗口");
    driver::menu_key_on_text(code, text_box, 1);  // 全选
    driver::menu_key_on_text(code, text_box, 0);  // 复制
    EXPECT_EQ(driver::clipboard_text(), std::string(catalogue::snippet_record(2)->snippet));
}

TEST_F(Behaviour, EachWindowsMenuActsOnItsOwnText) {
    start_first_run();
    select(34);  // 窗口 / 枚举: snippet and global variables
    gui::WindowId code = window("主窗口"), globals = window("全局变量");
    gui::focus_control(code, text_box);
    driver::right_click_text(globals, text_box, 1);
    driver::right_click_text(globals, text_box, 0);
    EXPECT_EQ(driver::clipboard_text(), std::string(catalogue::snippet_record(34)->attachment));
}

namespace {

// A viewer of our own over the browser window, for tables that the catalogue does
// not hold.
struct TableFixture {
    explicit TableFixture(gui::WindowId browser) : viewer(browser) { viewer.open_if_closed(); }
    ~TableFixture() { viewer.close_if_open(); }
    std::vector<std::string> row(int r) {
        std::vector<std::string> cells;
        for (int c = 0; c < 5; ++c)
            cells.push_back(gui::list_view_cell(viewer.window(), constants_list, r, c));
        return cells;
    }
    viewers::ConstantsViewer viewer;
};

}  // namespace

TEST_F(Behaviour, ConstantsListShowsEachLineAsARow) {
    start_first_run();
    TableFixture table(browser_);
    table.viewer.fill(
        G("名称--值--读/写--备注\r\n1--str--R--信息\r\nLBN_ERRSPACE---2--00-2--列表框内存不够\r\nWM_NULL--0--0-- \r\n"
          "211--int--R--取值：0--未开启，1--开启\r\n"));
    gui::WindowId w = table.viewer.window();
    EXPECT_EQ(gui::list_view_row_count(w, constants_list), 5);  // the empty piece after the final CR LF is no row
    using Row = std::vector<std::string>;
    EXPECT_EQ(table.row(0), (Row{"", G("名称"), G("值"), G("读/写"), G("备注")}));
    EXPECT_EQ(table.row(2), (Row{"", "LBN_ERRSPACE", "-2", "00-2", G("列表框内存不够")}));
    EXPECT_EQ(table.row(3), (Row{"", "WM_NULL", "0", "0", " "}));
    // A remark that holds "--" is shown whole.
    EXPECT_EQ(table.row(4), (Row{"", "211", "int", "R", G("取值：0--未开启，1--开启")}));

    table.viewer.fill(G("名称--十进制值--十六进制值--备注\r\nWM_CREATE--1--0001--创建"));
    EXPECT_EQ(gui::list_view_row_count(w, constants_list), 2);
    EXPECT_EQ(table.row(1), (Row{"", "WM_CREATE", "1", "0001", G("创建")}));
}

TEST_F(Behaviour, ConstantsListColumnsAndRows) {
    start_first_run();
    select(161);  // 发送消息 / 系统
    gui::WindowId w = window("常量表");
    ASSERT_TRUE(gui::is_open(w));
    const int widths[] = {0, 80, 80, 80, 600};
    for (int c = 0; c < 5; ++c) {
        driver::ListViewColumn column = driver::list_view_column(w, constants_list, c);
        EXPECT_EQ(column.width, widths[c]) << c;
        EXPECT_EQ(column.centred, c >= 1 && c <= 3) << c;
    }
    int height = driver::list_view_row_height(w, constants_list);
    EXPECT_TRUE(height == 20 || height == 21) << height;  // Wine draws image-list rows one pixel higher
    EXPECT_EQ(gui::list_view_row_count(w, constants_list), 213);
    EXPECT_EQ(gui::window_rect(w), (gui::Rect{308, 98, 561, 521}));
    EXPECT_EQ(gui::control_rect(w, constants_list), (gui::Rect{0, 0, 544, 482}));
    driver::drag_to(w, {308, 98, 120, 150});
    EXPECT_EQ(gui::window_rect(w), (gui::Rect{308, 98, 200, 200}));
    EXPECT_EQ(gui::control_rect(w, constants_list), (gui::Rect{0, 0, 183, 161}));
}

// 复制 copies the cell that was right-clicked, also after the list was scrolled
// sideways or its columns were resized.
TEST_F(Behaviour, CopyTakesTheRightClickedCell) {
    start_first_run();
    TableFixture table(browser_);
    gui::WindowId w = table.viewer.window();
    table.viewer.fill(
        G("名称--十进制值--十六进制值--备注\r\nWM_CREATE--1--0001--窗口被创建时发送\r\nWM_MOVE--3--0003--窗口移动后发送"));
    struct Case {
        int row, column;
        const char* expected;
    };
    const Case cases[] = {{1, 4, "窗口被创建时发送"}, {1, 1, "WM_CREATE"}, {2, 3, "0003"}, {2, 2, "3"}};
    for (const Case& c : cases) {
        driver::right_click_cell(w, constants_list, c.row, c.column, 0);
        EXPECT_EQ(driver::clipboard_text(), G(c.expected)) << c.row << "," << c.column;
    }
    driver::set_column_width(w, constants_list, 1, 200);
    driver::scroll_list_view(w, constants_list, 300);
    driver::right_click_cell(w, constants_list, 2, 4, 0);
    EXPECT_EQ(driver::clipboard_text(), G("窗口移动后发送"));
    driver::right_click_cell(w, constants_list, 1, 3, 0);  // partly scrolled out of view
    EXPECT_EQ(driver::clipboard_text(), "0001");

    driver::set_clipboard_text("marker");
    driver::right_click_cell(w, constants_list, 1, 1, -1);  // menu dismissed
    EXPECT_EQ(driver::clipboard_text(), "marker");
}
