// Prefix search and result navigation.
#include "browser/prefix_search.h"
#include "fixture.h"

class Search : public Behaviour {
  protected:
    std::vector<std::string> rows() {
        std::vector<std::string> out;
        for (int i = 0; i < gui::list_count(browser_, 列表框1); ++i)
            out.push_back(gbk::to_utf8(gui::list_row(browser_, 列表框1, i)).text);
        return out;
    }
    void search_for(std::string_view utf8) {
        driver::clear_text(browser_, 编辑框1);
        driver::type(browser_, 编辑框1, G(utf8));
    }
    std::string search_text() { return gbk::to_utf8(gui::edit_text(browser_, 编辑框1)).text; }
    std::optional<size_t> selected() { return gui::tree_selected_position(browser_, 树型框1); }
};

TEST_F(Search, ListsTheKeysThatBeginWithTheText) {
    start_first_run();
    using Rows = std::vector<std::string>;
    struct Case {
        const char* text;
        Rows rows;
    };
    const Case cases[] = {
        {"激活", {"激活 - 窗口句柄", "激活 - 窗口"}},
        {"激活 ", {"激活 - 窗口句柄", "激活 - 窗口"}},
        {"激活  ", {}},
        {"Ansi", {"Ansi到Unicode - 编码", "Ansi到ASCII - 编码"}},
        {"ansi", {"ansi到usc2 - 编码"}},
        {"激活 - 窗口", {"激活 - 窗口句柄", "激活 - 窗口"}},
        {"窗口", {"窗口句柄 - 窗口句柄"}},
        {" 激活", {}},
        {"网页访问（对象） - 网页", {"网页访问（对象） - 网页"}},
        {"网页访问（对象） - 网页x", {}},  // 24 bytes
        {"GZIP", {"GZIP - 网页"}},
    };
    for (const Case& c : cases) {
        search_for(c.text);
        EXPECT_EQ(rows(), c.rows) << c.text;
        EXPECT_EQ(gui::control_visible(browser_, 列表框1), !c.rows.empty()) << c.text;
        if (!c.rows.empty()) {
            EXPECT_EQ(gui::control_rect(browser_, 列表框1), (gui::Rect{16, 40, 147, 15 * int(c.rows.size()) + 2})) << c.text;
        }
        EXPECT_EQ(gui::list_selection(browser_, 列表框1), -1);
    }
    search_for("到");
    EXPECT_EQ(rows().size(), 12u);
    EXPECT_EQ(gui::control_rect(browser_, 列表框1).height, 182);
    driver::clear_text(browser_, 编辑框1);
    EXPECT_TRUE(rows().empty());
    EXPECT_FALSE(gui::control_visible(browser_, 列表框1));
}

TEST_F(Search, EveryKeyFindsItselfByItsWholeText) {
    start_first_run();
    for (const catalogue::SearchKey& key : catalogue::search_keys()) {
        gui::set_edit_text(browser_, 编辑框1, key.key);
        ASSERT_GE(gui::list_count(browser_, 列表框1), 1);
        bool found = false;
        for (int i = 0; i < gui::list_count(browser_, 列表框1); ++i)
            found = found || gui::list_row(browser_, 列表框1, i) == key.key;
        EXPECT_TRUE(found) << gbk::to_utf8(key.key).text;
    }
}

TEST_F(Search, DoubleClickOnAResultShowsItsEntry) {
    start_first_run();
    search_for("父句柄");
    driver::double_click_row(browser_, 列表框1, 0);
    EXPECT_EQ(selected(), 2u);
    EXPECT_EQ(code_text(), std::string(catalogue::snippet_record(2)->snippet));
    EXPECT_EQ(search_text(), "父句柄 - 窗口句柄");
    EXPECT_FALSE(gui::control_visible(browser_, 列表框1));
    EXPECT_EQ(driver::focused_control(browser_), 树型框1);
}

TEST_F(Search, EnterAndTheButtonGoToAWholeKey) {
    start_first_run();
    search_for("窗口句柄 - 窗口句柄");
    driver::press_key(browser_, 编辑框1, browser::vk_enter);
    EXPECT_EQ(selected(), 1u);
    EXPECT_EQ(search_text(), "");
    EXPECT_FALSE(gui::control_visible(browser_, 列表框1));

    search_for("GZIP - 网页");
    driver::answer_next_message_box(gui::Answer::cancel);  // the support file offer
    driver::click_button(browser_, 按钮1);
    EXPECT_EQ(selected(), 291u);
    EXPECT_EQ(code_text(), std::string(catalogue::snippet_record(275)->snippet));
}

TEST_F(Search, TextThatIsNoWholeKeyOnlyEmptiesTheBox) {
    start_first_run();
    select(5);
    search_for("激活");
    driver::press_key(browser_, 编辑框1, browser::vk_enter);
    EXPECT_EQ(selected(), 5u);
    EXPECT_EQ(search_text(), "");
    EXPECT_FALSE(gui::control_visible(browser_, 列表框1));
    EXPECT_EQ(driver::focused_control(browser_), 树型框1);
}

TEST_F(Search, EmptyOrBlankTextDoesNothing) {
    start_first_run();
    select(5);
    for (const char* text : {"", "   "}) {
        search_for(text);
        gui::focus_control(browser_, 编辑框1);
        driver::press_key(browser_, 编辑框1, browser::vk_enter);
        driver::click_button(browser_, 按钮1);
        EXPECT_EQ(selected(), 5u);
        EXPECT_EQ(search_text(), text);
    }
}

// The row "激活 - 窗口句柄" selected while the text is the whole key "激活 - 窗口":
// both pairs match and both selections are displayed, the second one last.
TEST_F(Search, BothMatchingPairsAreSelectedInCatalogueOrder) {
    start_first_run();
    search_for("激活 - 窗口");
    driver::select_row(browser_, 列表框1, 0);
    driver::press_key(browser_, 列表框1, browser::vk_enter);
    EXPECT_EQ(selected(), 19u);
    EXPECT_EQ(code_text(), std::string(catalogue::snippet_record(18)->snippet));
    EXPECT_EQ(search_text(), "激活 - 窗口句柄");
    EXPECT_FALSE(gui::control_visible(browser_, 列表框1));
}

TEST_F(Search, DownThenEnterTakesTheFirstRow) {
    start_first_run();
    search_for("激活");
    driver::press_key(browser_, 编辑框1, browser::vk_down);
    EXPECT_EQ(driver::focused_control(browser_), 列表框1);
    EXPECT_EQ(gui::list_selection(browser_, 列表框1), 0);
    driver::press_key(browser_, 列表框1, browser::vk_enter);
    EXPECT_EQ(selected(), 4u);
    EXPECT_EQ(search_text(), "激活 - 窗口句柄");
}

// Enter that commits an input method's composition arrives as VK_PROCESSKEY.
TEST_F(Search, EnterCommittingACompositionDoesNotNavigate) {
    start_first_run();
    search_for("窗口句柄 - 窗口句柄");
    driver::press_key(browser_, 编辑框1, 229);
    EXPECT_EQ(selected(), std::nullopt);
    EXPECT_EQ(search_text(), "窗口句柄 - 窗口句柄");
}

// A search result gives exactly the windows and texts of a click on the same item.
TEST_F(Search, AResultShowsWhatAClickShows) {
    start_first_run();
    for (const char* key : {"枚举 - 窗口", "系统 - 发送消息", "DWORD值 - 注册表"}) {
        search_for(key);
        driver::double_click_row(browser_, 列表框1, 0);
        std::string by_search = code_text();
        bool globals = gui::is_open(window("全局变量")), table = gui::is_open(window("常量表")),
             second = gui::is_open(window("主窗口2"));
        size_t position = *selected();
        select(0);
        select(position);
        EXPECT_EQ(code_text(), by_search) << key;
        EXPECT_EQ(gui::is_open(window("全局变量")), globals) << key;
        EXPECT_EQ(gui::is_open(window("常量表")), table) << key;
        EXPECT_EQ(gui::is_open(window("主窗口2")), second) << key;
    }
}

// The match is the comparison of the key's first 1, 2, ... 30 bytes with the text,
// for every key against every leading part of every key and texts around them.
TEST(PrefixMatch, AgreesWithComparingUpTo30LeadingBytes) {
    auto by_comparisons = [](std::string_view key, std::string_view text) {
        for (size_t n = 1; n <= 30; ++n)
            if (key.substr(0, n) == text)
                return true;
        return false;
    };
    std::vector<std::string> texts = {"", " ", std::string(31, 'a'), G("激活  "), "ansi", "Ansi"};
    for (const catalogue::SearchKey& key : catalogue::search_keys())
        for (size_t n = 0; n <= key.key.size() + 1; ++n)
            texts.push_back(std::string(key.key.substr(0, n)) + (n > key.key.size() ? "x" : ""));
    for (const catalogue::SearchKey& key : catalogue::search_keys())
        for (const std::string& text : texts)
            ASSERT_EQ(browser::prefix_match(key.key, text), by_comparisons(key.key, text)) << gbk::to_utf8(text).text;
}
