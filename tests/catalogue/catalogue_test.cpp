// The catalogue's structure, numbers and given texts, checked on the compiled data
// (natively and, in the Windows build, under Wine).
#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "tools/common/gbk.h"

using namespace catalogue;

namespace {

// Expected texts are spelled in UTF-8 here and compared as GBK.
std::string G(const char* utf8) {
    gbk::Converted converted = gbk::from_utf8(utf8);
    EXPECT_FALSE(converted.error) << utf8;
    return converted.text;
}

const SnippetRecord& record(uint32_t number) {
    const SnippetRecord* r = snippet_record(number);
    if (!r) {
        ADD_FAILURE() << "no record " << number;
        static const SnippetRecord none{};
        return none;
    }
    return *r;
}

bool is_group(size_t position) {
    auto items = tree_items();
    return items[position].level == 2 && position + 1 < items.size() && items[position + 1].level == 3;
}

std::string category_name(const TreeItem& item) {  // "◇ 名称（N）" -> 名称
    std::string caption(item.caption);
    return caption.substr(3, caption.find("\xA3\xA8") - 3);
}

std::vector<std::string> split(Splitter splitter) {
    std::vector<std::string> pieces;
    for (Text piece; splitter.next(piece);)
        pieces.emplace_back(piece);
    return pieces;
}

}  // namespace

TEST(TreeItems, CountsAndEnds) {
    auto items = tree_items();
    ASSERT_EQ(items.size(), 308u);
    size_t by_level[4] = {};
    for (const TreeItem& item : items)
        ++by_level[item.level < 4 ? item.level : 0];
    EXPECT_EQ(by_level[0], 0u);
    EXPECT_EQ(by_level[1], 25u);
    EXPECT_EQ(by_level[2], 268u);
    EXPECT_EQ(by_level[3], 15u);
    EXPECT_EQ(items[0].caption, G("◇ 窗口句柄（15）"));
    EXPECT_EQ(items[1].caption, G("◎ 窗口句柄"));
    EXPECT_EQ(items[307].caption, G("◎ 端口"));
    EXPECT_EQ(items[1].level, 2u);
}

TEST(TreeItems, CaptionBytes) {
    for (const TreeItem& item : tree_items()) {
        std::string caption(item.caption);
        SCOPED_TRACE(caption);
        ASSERT_GE(caption.size(), 4u);
        EXPECT_EQ(caption.substr(0, 3), item.level == 1 ? "\xA1\xF3 " : "\xA1\xF2 ");
        if (item.level == 1) {
            size_t open = caption.find("\xA3\xA8");
            ASSERT_NE(open, std::string::npos);
            std::string digits = caption.substr(open + 2, caption.size() - open - 4);
            EXPECT_FALSE(digits.empty());
            EXPECT_EQ(digits.find_first_not_of("0123456789"), std::string::npos);
            EXPECT_EQ(caption.substr(caption.size() - 2), "\xA3\xA9");
        }
        EXPECT_EQ(item.level == 1 || is_group(size_t(&item - tree_items().data())), item.entry_number == 0);
    }
}

TEST(TreeItems, NoFourthLevelAndSubEntriesFollowGroups) {
    auto items = tree_items();
    EXPECT_EQ(items[0].level, 1u);
    for (size_t i = 1; i < items.size(); ++i)
        EXPECT_LE(items[i].level, items[i - 1].level + 1) << "position " << i;
    std::vector<size_t> groups;
    for (size_t i = 0; i < items.size(); ++i)
        if (is_group(i))
            groups.push_back(i);
    EXPECT_EQ(groups, (std::vector<size_t>{181, 190, 246, 249, 279, 290, 296}));
}

struct CategoryRow {
    const char* caption;
    size_t first, last;
    size_t entries, sub_entries;
    uint32_t lowest, highest;
};

const CategoryRow category_table[] = {
    {"◇ 窗口句柄（15）", 0, 15, 15, 0, 1, 15},     {"◇ 窗口（23）", 16, 40, 24, 0, 16, 40},
    {"◇ 菜单（13）", 41, 54, 13, 0, 41, 53},       {"◇ 线程（15）", 55, 70, 15, 0, 54, 69},
    {"◇ 进程（7）", 71, 78, 7, 0, 70, 76},         {"◇ 视频（20）", 79, 99, 20, 0, 77, 96},
    {"◇ 音乐（10）", 100, 109, 9, 0, 98, 106},     {"◇ 指针地址（10）", 110, 120, 10, 0, 108, 117},
    {"◇ 指针（11）", 121, 132, 11, 0, 118, 128},   {"◇ 信号量（5）", 133, 138, 5, 0, 129, 133},
    {"◇ 目录（8）", 139, 148, 9, 0, 134, 143},     {"◇ 对话框（4）", 149, 153, 4, 0, 144, 147},
    {"◇ 随机数（5）", 154, 159, 5, 0, 148, 152},   {"◇ 发送消息（9）", 160, 169, 9, 0, 153, 160},
    {"◇ 剪切板（3）", 170, 173, 3, 0, 162, 164},   {"◇ 编码（14）", 174, 192, 14, 4, 165, 180},
    {"◇ 注册表（16）", 193, 209, 16, 0, 181, 202}, {"◇ 内存（4）", 210, 214, 4, 0, 203, 209},
    {"◇ 文件（14）", 215, 229, 14, 0, 210, 223},   {"◇ 文本（12）", 230, 251, 17, 4, 224, 242},
    {"◇ 校验（3）", 252, 255, 3, 0, 243, 245},     {"◇ 运算（10）", 256, 267, 11, 0, 246, 256},
    {"◇ 系统（11）", 268, 282, 11, 3, 257, 269},   {"◇ 程序（3）", 283, 286, 3, 0, 270, 272},
    {"◇ 网页（16）", 287, 307, 16, 4, 273, 290},
};

TEST(Categories, PositionsEntriesAndNumbers) {
    auto items = tree_items();
    size_t next_position = 0;
    for (const CategoryRow& row : category_table) {
        SCOPED_TRACE(row.caption);
        EXPECT_EQ(row.first, next_position);
        ASSERT_LT(row.last, items.size());
        EXPECT_EQ(items[row.first].caption, G(row.caption));
        size_t entries = 0, sub_entries = 0;
        uint32_t lowest = UINT32_MAX, highest = 0;
        for (size_t p = row.first + 1; p <= row.last; ++p) {
            EXPECT_NE(items[p].level, 1u) << "position " << p;
            (items[p].level == 2 ? entries : sub_entries)++;
            if (items[p].entry_number) {
                lowest = std::min(lowest, items[p].entry_number);
                highest = std::max(highest, items[p].entry_number);
            }
        }
        EXPECT_EQ(entries, row.entries);
        EXPECT_EQ(sub_entries, row.sub_entries);
        EXPECT_EQ(lowest, row.lowest);
        EXPECT_EQ(highest, row.highest);
        next_position = row.last + 1;
    }
    EXPECT_EQ(next_position, items.size());
}

TEST(Categories, StoredCountsDifferInFiveAndAddUpTo261) {
    int total = 0;
    std::vector<std::string> differing;
    for (const CategoryRow& row : category_table) {
        std::string caption(G(row.caption));
        int stored = std::stoi(caption.substr(caption.find("\xA3\xA8") + 2));
        total += stored;
        if (size_t(stored) != row.entries)
            differing.push_back(category_name(TreeItem{caption, 1, 0}));
    }
    EXPECT_EQ(total, 261);
    EXPECT_EQ(differing, (std::vector<std::string>{G("窗口"), G("音乐"), G("目录"), G("文本"), G("运算")}));
}

// Numbers are given in tree order, skipping categories and group entries and the
// numbers never given; 鼠标 repeats 键盘's number.
TEST(EntryNumbers, FollowTheNumberingRule) {
    const std::set<uint32_t> never_given = {33, 60, 97, 107, 142, 161, 189, 191, 193, 195, 197, 199, 204, 206, 208};
    auto items = tree_items();
    uint32_t next = 0;
    size_t carrying = 0;
    std::set<uint32_t> distinct;
    for (size_t p = 0; p < items.size(); ++p) {
        uint32_t expected = 0;
        if (items[p].level != 1 && !is_group(p)) {
            if (items[p].caption == G("◎ 鼠标") && items[p - 1].caption == G("◎ 键盘")) {
                expected = items[p - 1].entry_number;
            } else {
                do
                    ++next;
                while (never_given.count(next));
                expected = next;
            }
        }
        EXPECT_EQ(items[p].entry_number, expected) << "position " << p;
        EXPECT_EQ(entry_number_at(p), expected);
        if (expected) {
            ++carrying;
            distinct.insert(expected);
            // Categories and groups take positions but no numbers, so a number never
            // exceeds its position; the first category's entries match theirs.
            EXPECT_TRUE(p <= 15 ? expected == p : expected <= p) << "position " << p;
        }
    }
    EXPECT_EQ(next, 290u);
    EXPECT_EQ(carrying, 276u);
    EXPECT_EQ(distinct.size(), 275u);
    EXPECT_EQ(entry_number_at(162), 154u);
    EXPECT_EQ(entry_number_at(163), 154u);
    EXPECT_EQ(entry_number_at(308), 0u);
}

TEST(Records, OnePerNumberInUseAndNoneElsewhere) {
    EXPECT_EQ(snippet_records().size(), 275u);
    std::set<uint32_t> in_use;
    for (const TreeItem& item : tree_items())
        if (item.entry_number)
            in_use.insert(item.entry_number);
    for (uint32_t n = 0; n <= 300; ++n) {
        const SnippetRecord* r = snippet_record(n);
        EXPECT_EQ(r != nullptr, in_use.count(n) == 1) << n;
        if (r) {
            EXPECT_EQ(r->entry_number, n);
            EXPECT_FALSE(r->snippet.empty());
        }
    }
    for (uint32_t n : {0u, 33u, 208u, 291u, 1000u, UINT32_MAX})
        EXPECT_EQ(snippet_record(n), nullptr) << n;
}

struct AttachmentRow {
    uint32_t entry_number;
    AttachmentKind kind;
    size_t position;
};

const AttachmentRow attachment_table[] = {
    {34, AttachmentKind::global_variables, 34},    {61, AttachmentKind::global_variables, 62},
    {62, AttachmentKind::global_variables, 63},    {96, AttachmentKind::constants_table, 99},
    {106, AttachmentKind::companion_snippet, 109}, {143, AttachmentKind::global_variables, 148},
    {153, AttachmentKind::constants_table, 161},   {154, AttachmentKind::constants_table, 162},
    {155, AttachmentKind::constants_table, 164},   {156, AttachmentKind::constants_table, 165},
    {157, AttachmentKind::constants_table, 166},   {158, AttachmentKind::constants_table, 167},
    {159, AttachmentKind::constants_table, 168},   {160, AttachmentKind::constants_table, 169},
    {188, AttachmentKind::companion_snippet, 201}, {190, AttachmentKind::companion_snippet, 202},
    {192, AttachmentKind::companion_snippet, 203}, {194, AttachmentKind::companion_snippet, 204},
    {196, AttachmentKind::companion_snippet, 205}, {198, AttachmentKind::companion_snippet, 206},
    {205, AttachmentKind::global_variables, 212},  {207, AttachmentKind::global_variables, 213},
    {209, AttachmentKind::global_variables, 214},  {230, AttachmentKind::required_entries, 237},
    {239, AttachmentKind::required_entries, 247},  {240, AttachmentKind::required_entries, 248},
    {255, AttachmentKind::required_entries, 266},  {273, AttachmentKind::required_entries, 288},
    {274, AttachmentKind::required_entries, 289},  {275, AttachmentKind::support_file, 291},
    {276, AttachmentKind::support_file, 292},      {287, AttachmentKind::required_entries, 304},
    {290, AttachmentKind::required_entries, 307},
};

TEST(Attachments, KindsOwnersAndCounts) {
    size_t by_kind[6] = {};
    std::set<uint32_t> listed;
    for (const AttachmentRow& row : attachment_table) {
        SCOPED_TRACE(row.entry_number);
        listed.insert(row.entry_number);
        EXPECT_EQ(record(row.entry_number).attachment_kind, row.kind);
        EXPECT_EQ(entry_number_at(row.position), row.entry_number);
    }
    for (const SnippetRecord& r : snippet_records()) {
        ++by_kind[size_t(r.attachment_kind)];
        EXPECT_EQ(r.attachment.empty(), r.attachment_kind == AttachmentKind::none) << r.entry_number;
        if (!listed.count(r.entry_number)) {
            EXPECT_EQ(r.attachment_kind, AttachmentKind::none) << r.entry_number;
        }
    }
    EXPECT_EQ(listed.size(), 33u);
    EXPECT_EQ(std::vector<size_t>(by_kind, by_kind + 6), (std::vector<size_t>{242, 7, 9, 7, 8, 2}));
}

struct GivenText {
    uint32_t entry_number;
    bool attachment;  // false: the snippet
    const char* utf8;
};

// Texts that are fixed word for word, with their exact line ends.
const GivenText given_texts[] = {
    {2, false, ".DLL命令 GetParent, 整数型, , \"GetParent\"\r\n    .参数 窗口句柄, 整数型"},
    {77, false, "http://aplayer.open.xunlei.com"},
    // Calls 取字节集, the reading routine of record 188 (a routine named 字节集 does not exist).
    {190, false, "取字节集数据 (取字节集 (项名称, 键名, 4), #整数型, )"},
    {34, true, "变量名：当前窗口列表\r\n类型：窗口信息\r\n数组：0"},
    {61, true, "变量名：集_许可证数组\r\n类型：线程许可证\r\n数组：0"},
    {62, true, "变量名：集_许可证数组\r\n类型：线程许可证\r\n数组：0"},
    {143, true, "变量名：集_目录\r\n类型：文本型"},
    {205, true, "变量名：集_内存数组\r\n类型：整数型\r\n数组：0"},
    {207, true,
     "变量名：保存搜索内容\r\n类型：字节集\r\n\r\n变量名：保存地址\r\n类型：整数型\r\n数组：0\r\n\r\n"
     "变量名：保存进程ID\r\n类型：整数型\r\n"},
    {209, true,
     "变量名：保存进程ID\r\n类型：整数型\r\n\r\n变量名：保存地址\r\n类型：整数型\r\n数组：0\r\n\r\n"
     "变量名：保存搜索内容\r\n类型：字节集"},
    {190, true, "写字节集 (项名称, 键名, 到字节集 (欲写入值), 4)"},
    {192, true, "写字节集 (项名称, 键名, 欲写入值, 3)"},
    {194, true, "写字节集 (项名称, 键名, 到字节集 (欲写入值), 1)"},
    {196, true, "写字节集 (项名称, 键名, 子字节集替换 (到字节集 (欲写入值), { 13, 10 }, { 0 }, , ) ＋ { 0, 0 }, 7)"},
    {198, true, "写字节集 (项名称, 键名, 到字节集 (欲写入值), 2)"},
    {230, true, "文本 - 逐字分割"},
    {239, true, "效验 - MD5"},
    {240, true, "效验 - MD5"},
    {255, true, "运算 - 括号计算"},
    {273, true, "网页 - 域名  文本 - 逐字分割"},
    {274, true, "文本 - 逐字分割"},
    {275, true, "GZIP.dll"},
    {276, true, "GZIP.dll"},
    {287, true, "网页 - 域名"},
    {290, true, "网页 - 域名"},
};

TEST(Texts, GivenWordForWord) {
    for (const GivenText& given : given_texts) {
        const SnippetRecord& r = record(given.entry_number);
        EXPECT_EQ(given.attachment ? r.attachment : r.snippet, G(given.utf8)) << given.entry_number;
    }
}

TEST(Texts, GivenSizesInBytes) {
    EXPECT_EQ(record(2).snippet.size(), 69u);
    EXPECT_EQ(record(77).snippet.size(), 30u);
    EXPECT_EQ(record(190).snippet.size(), 52u);
    EXPECT_EQ(record(190).attachment.size(), 47u);
    EXPECT_EQ(record(275).attachment.size(), 8u);
}

TEST(Texts, TheChannelRoutineAndItsCompanion) {
    // The first line's first field: the keyword and the routine's name.
    auto first_routine = [](std::string_view text) {
        std::string_view line = text.substr(0, text.find("\r\n"));
        return std::string(line.substr(0, line.find(',')));
    };
    EXPECT_EQ(first_routine(record(106).snippet), G(".子程序 声道"));
    EXPECT_EQ(first_routine(record(106).attachment), G(".子程序 置声道"));
}

TEST(Texts, Record284BeginsWithTheVersionLine) {
    EXPECT_TRUE(record(284).snippet.starts_with(G(".版本 2\r\n"))) << record(284).snippet.substr(0, 20);
}

TEST(Texts, SharedTextsAreStoredOnce) {
    for (uint32_t n = 154; n <= 160; ++n)
        EXPECT_EQ(record(n).snippet.data(), record(153).snippet.data()) << n;
    EXPECT_EQ(record(31).snippet.data(), record(36).snippet.data());
    EXPECT_EQ(record(64).snippet.data(), record(72).snippet.data());
    EXPECT_EQ(record(61).attachment.data(), record(62).attachment.data());

    std::set<const char*> snippets, attachments;
    for (const SnippetRecord& r : snippet_records()) {
        snippets.insert(r.snippet.data());
        if (r.attachment_kind != AttachmentKind::none)
            attachments.insert(r.attachment.data());
    }
    EXPECT_EQ(snippets.size(), 266u);
    EXPECT_EQ(attachments.size(), 28u);
}

TEST(Texts, LineEndsAreCrLfOnly) {
    auto check = [](Text text, uint32_t number) {
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\t')
                ADD_FAILURE() << "TAB in record " << number;
            if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))
                ADD_FAILURE() << "lone CR in record " << number;
            if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
                ADD_FAILURE() << "lone LF in record " << number;
        }
    };
    for (const SnippetRecord& r : snippet_records()) {
        check(r.snippet, r.entry_number);
        check(r.attachment, r.entry_number);
    }
    EXPECT_TRUE(record(160).attachment.ends_with("\r\n"));
    EXPECT_TRUE(record(207).attachment.ends_with("\r\n"));
    EXPECT_FALSE(record(153).attachment.ends_with("\r\n"));
}

TEST(SearchKeys, OnePerEntryInCatalogueOrder) {
    auto keys = search_keys();
    auto items = tree_items();
    ASSERT_EQ(keys.size(), 268u);
    std::set<Text> distinct;
    size_t k = 0;
    std::string category;
    for (size_t p = 0; p < items.size(); ++p) {
        if (items[p].level == 1)
            category = category_name(items[p]);
        if (items[p].level != 2)
            continue;
        ASSERT_LT(k, keys.size());
        std::string name(items[p].caption.substr(3));
        EXPECT_EQ(keys[k].key, name + " - " + category);
        EXPECT_EQ(keys[k].tree_position, is_group(p) ? p + 1 : p);
        distinct.insert(keys[k].key);
        ++k;
    }
    EXPECT_EQ(k, 268u);
    EXPECT_EQ(distinct.size(), 268u);
    EXPECT_EQ(keys.front().tree_position, 1u);
    EXPECT_EQ(keys.back().tree_position, 307u);
}

TEST(SearchKeys, GivenKeysAndPositions) {
    struct Row {
        const char* key;
        uint32_t position;
    };
    const Row rows[] = {
        {"父句柄 - 窗口句柄", 2}, {"光标位置 - 窗口", 17},   {"BASE64 - 编码", 182},   {"URL编码 - 编码", 191},
        {"文本加密 - 文本", 247}, {"文本加密2 - 文本", 250}, {"本地连接 - 系统", 280}, {"GZIP - 网页", 291},
        {"快捷方式 - 网页", 297}, {"打开 - 文件", 219},      {"打开 - 线程", 59},
    };
    for (const Row& row : rows) {
        auto keys = search_keys();
        auto found = std::find_if(keys.begin(), keys.end(), [&](const SearchKey& k) { return k.key == G(row.key); });
        ASSERT_NE(found, keys.end()) << row.key;
        EXPECT_EQ(found->tree_position, row.position) << row.key;
    }
    EXPECT_EQ(entry_number_at(291), 275u);  // GZIP leads to 压缩
}

TEST(SearchKeys, TheLongestAreThreeOf23Bytes) {
    size_t longest = 0;
    std::vector<Text> at_longest;
    for (const SearchKey& k : search_keys()) {
        if (k.key.size() > longest) {
            longest = k.key.size();
            at_longest.clear();
        }
        if (k.key.size() == longest)
            at_longest.push_back(k.key);
    }
    EXPECT_EQ(longest, 23u);
    EXPECT_EQ(at_longest,
              (std::vector<Text>{G("双精度小数型 - 指针地址"), G("可扩充字符串值 - 注册表"), G("网页访问（对象） - 网页")}));
}

TEST(Splitter, CutsAtEverySeparatorFromTheLeft) {
    struct Row {
        const char* text;
        std::vector<std::string> pieces;
    };
    const Row rows[] = {
        {"", {""}},
        {"a", {"a"}},
        {"a--b", {"a", "b"}},
        {"a--", {"a", ""}},
        {"--", {"", ""}},
        {"a---1--00-1--x", {"a", "-1", "00-1", "x"}},
        {"a----b", {"a", "", "b"}},
        {"WM_NULL--0--0000-- ", {"WM_NULL", "0", "0000", " "}},
        {"211--int--R--0--a--1--b--2--c--3--d", {"211", "int", "R", "0", "a", "1", "b", "2", "c", "3", "d"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(split(row_fields(row.text)), row.pieces) << row.text;
    EXPECT_EQ(split(table_rows("t\r\nr1\r\n")), (std::vector<std::string>{"t", "r1", ""}));
    EXPECT_EQ(split(table_rows("t\r\nr1")), (std::vector<std::string>{"t", "r1"}));
}

TEST(ConstantsTables, RowCountsAndFields) {
    struct Row {
        uint32_t entry_number;
        size_t rows;  // title row and data rows (and an empty last row)
    };
    const Row rows[] = {{153, 213}, {154, 45}, {155, 29}, {156, 134}, {157, 12}, {158, 7}, {159, 101}, {160, 242}};
    const std::string title = G("名称--十进制值--十六进制值--备注");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.entry_number);
        std::vector<std::string> lines = split(table_rows(record(row.entry_number).attachment));
        ASSERT_EQ(lines.size(), row.rows);
        EXPECT_EQ(lines[0], title);
        for (size_t i = 1; i < lines.size(); ++i) {
            if (row.entry_number == 160 && i + 1 == lines.size()) {
                EXPECT_EQ(lines[i], "");
                continue;
            }
            EXPECT_EQ(split(row_fields(lines[i])).size(), 4u) << lines[i];
        }
    }
}

TEST(ConstantsTables, TheVideoEngineItems) {
    std::vector<std::string> lines = split(table_rows(record(96).attachment));
    ASSERT_EQ(lines.size(), 301u);  // the title row and one row per configuration item
    EXPECT_EQ(lines[0], G("名称--值--读/写--备注"));
    size_t item_211 = 0;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::vector<std::string> fields = split(row_fields(lines[i]));
        ASSERT_GE(fields.size(), 4u) << lines[i];
        if (fields[0] == "211")
            item_211 = fields.size();
    }
    EXPECT_EQ(item_211, 11u);  // its remark lists seven values as "0--…"
}

TEST(ConstantsTables, NegativeCodesAndBlankRemarks) {
    std::vector<std::string> rows;
    for (uint32_t n = 153; n <= 160; ++n)
        for (const std::string& line : split(table_rows(record(n).attachment)))
            rows.push_back(line);
    auto has = [&](const std::string& row) { return std::find(rows.begin(), rows.end(), row) != rows.end(); };
    EXPECT_TRUE(has(G("CBN_ERRSPACE---1--00-1--组合框内存不足")));
    EXPECT_TRUE(has(G("LBN_ERRSPACE---2--00-2--列表框内存不够")));
    EXPECT_EQ(split(row_fields(G("LBN_ERRSPACE---2--00-2--列表框内存不够"))),
              (std::vector<std::string>{"LBN_ERRSPACE", "-2", "00-2", G("列表框内存不够")}));
}
