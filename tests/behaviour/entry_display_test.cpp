// What selecting a tree item shows, by the record's attachment kind.
#include "fixture.h"

namespace {

struct Open {
    bool globals, constants, second;
};

}  // namespace

class EntryDisplay : public Behaviour {
  protected:
    Open open() { return {gui::is_open(window("全局变量")), gui::is_open(window("常量表")), gui::is_open(window("主窗口2"))}; }
};

TEST_F(EntryDisplay, EachKindOpensItsWindowAndClosesTheOthers) {
    start_first_run();
    struct Case {
        size_t position;
        uint32_t record;
        Open expected;
    };
    const Case cases[] = {
        {34, 34, {true, false, false}},                                    // global variables
        {161, 153, {false, true, false}},                                  // constants table
        {202, 190, {false, false, true}},                                  // companion snippet
        {62, 61, {true, false, false}},   {2, 2, {false, false, false}},   // none
        {168, 159, {false, true, false}}, {63, 62, {true, false, false}},  // a table after... a declaration closes the table
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        select(c.position);
        const catalogue::SnippetRecord& r = *catalogue::snippet_record(c.record);
        EXPECT_EQ(code_text(), std::string(r.snippet));
        Open o = open();
        EXPECT_EQ(o.globals, c.expected.globals);
        EXPECT_EQ(o.constants, c.expected.constants);
        EXPECT_EQ(o.second, c.expected.second);
        if (o.globals) {
            EXPECT_EQ(gui::edit_text(window("全局变量"), text_box), std::string(r.attachment));
        }
        if (o.second) {
            EXPECT_EQ(gui::edit_text(window("主窗口2"), text_box), std::string(r.attachment));
        }
        if (o.constants) {
            EXPECT_EQ(gui::list_view_cell(window("常量表"), constants_list, 0, 1), G("名称"));
        }
    }
}

TEST_F(EntryDisplay, WindowsThatStayOpenAreReusedNotRecreated) {
    start_first_run();
    select(34);
    gui::WindowId globals = window("全局变量"), code = window("主窗口");
    driver::drag_to(globals, {40, 50, 300, 300});
    select(62);  // another declaration
    EXPECT_EQ(window("全局变量"), globals);
    EXPECT_EQ(window("主窗口"), code);
    EXPECT_EQ(gui::window_rect(globals), (gui::Rect{40, 50, 300, 300}));
    EXPECT_EQ(gui::edit_text(globals, text_box), std::string(catalogue::snippet_record(61)->attachment));

    select(161);
    gui::WindowId table = window("常量表");
    select(162);  // 键盘: another table replaces every row
    EXPECT_EQ(window("常量表"), table);
    EXPECT_EQ(gui::list_view_row_count(table, constants_list), 45);
    select(163);  // 鼠标 shows the same record
    EXPECT_EQ(gui::list_view_row_count(table, constants_list), 45);
}

TEST_F(EntryDisplay, CategoriesAndGroupEntriesChangeNothing) {
    start_first_run();
    select(161);
    for (size_t position : {size_t(0), size_t(16), size_t(181), size_t(290)}) {  // categories, BASE64, GZIP
        select(position);
        EXPECT_EQ(code_text(), std::string(catalogue::snippet_record(153)->snippet)) << position;
        EXPECT_TRUE(gui::is_open(window("常量表")));
        EXPECT_EQ(gui::list_view_row_count(window("常量表"), constants_list), 213);
    }
    EXPECT_TRUE(driver::message_boxes().empty());
}

TEST_F(EntryDisplay, AClosedCodeWindowOpensAgainWithTheNextEntry) {
    start_first_run();
    select(2);
    driver::close(window("主窗口"));
    EXPECT_FALSE(gui::is_open(window("主窗口")));
    select(3);
    EXPECT_EQ(code_text(), std::string(catalogue::snippet_record(3)->snippet));
}

TEST_F(EntryDisplay, RequiredEntriesAreNamedInAMessageAfterTheSnippetIsShown) {
    start_first_run();
    struct Case {
        size_t position;
        uint32_t record;
        const char* note;
    };
    const Case cases[] = {{237, 230, "文本 - 逐字分割"}, {288, 273, "网页 - 域名  文本 - 逐字分割"}, {247, 239, "效验 - MD5"}};
    for (const Case& c : cases) {
        select(34);  // a global-variables window that the note must close
        driver::forget_message_boxes();
        driver::answer_next_message_box(gui::Answer::ok);
        select(c.position);
        auto boxes = driver::message_boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, G(std::string("本命令需要 ") + c.note + " 才能使用。"));
        EXPECT_EQ(boxes[0].title, G("温馨提示"));
        EXPECT_EQ(boxes[0].buttons, gui::Buttons::ok);
        EXPECT_FALSE(boxes[0].has_icon);
        EXPECT_EQ(code_text(), std::string(catalogue::snippet_record(c.record)->snippet));
        Open o = open();
        EXPECT_FALSE(o.globals || o.constants || o.second);
    }
}
