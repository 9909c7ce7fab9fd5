// The catalogue generator: what it makes of a source file, and how it stops the build
// on one that cannot become catalogue text.
#include <gtest/gtest.h>

#include "tools/catalogue_gen/manifest.h"
#include "tools/catalogue_gen/source_text.h"

TEST(SourceText, ConvertsToGbkWithCrLf) {
    struct Case {
        std::string utf8;
        bool keep_final_line_end;
        std::string gbk;
    };
    const Case cases[] = {
        {"a\nb\n", false, "a\r\nb"},
        {"a\r\nb\r\n", false, "a\r\nb"},
        {"a\nb\n", true, "a\r\nb\r\n"},
        {"a\n\n", false, "a\r\n"},  // only the last line end is dropped
        {"a", false, "a"},
        {"◎ 父句柄\n", false, "\xA1\xF2 \xB8\xB8\xBE\xE4\xB1\xFA"},
        {"（１）", false, "\xA3\xA8\xA3\xB1\xA3\xA9"},
    };
    for (const Case& c : cases) {
        source_text::Converted out = source_text::convert(c.utf8, c.keep_final_line_end);
        EXPECT_EQ(out.error, "") << c.utf8;
        EXPECT_EQ(out.gbk, c.gbk) << c.utf8;
    }
}

TEST(SourceText, StopsWithLineAndCharacter) {
    struct Case {
        std::string utf8;
        bool keep_final_line_end;
        std::string error;
    };
    const Case cases[] = {
        {"a\n\tb\n", false, "2:1: TAB 'TAB'"},
        {"甲乙\n丙\x01😀\n", false, "2:3: no GBK form for '😀'"},
        {"a\rb\n", false, "1:2: stray CR 'CR'"},
        {"a\r\nb\nc\r\n", false, "2:2: stray LF in a file with CR LF line ends 'LF'"},
        {"a", true, "the manifest says crlf"},
        {"\n", false, "empty text"},
        {"", false, "empty text"},
        {"\xEF\xBB\xBF"
         "a",
         false, "1:1: no GBK form"},                 // a byte-order mark
        {"ok\n\xC3(\n", false, "2:1: no GBK form"},  // invalid UTF-8
    };
    for (const Case& c : cases) {
        source_text::Converted out = source_text::convert(c.utf8, c.keep_final_line_end);
        EXPECT_NE(out.error.find(c.error), std::string::npos) << "got '" << out.error << "' for " << c.utf8;
    }
}

TEST(Manifest, ReadsTheTreeAndTheRecords) {
    manifest::ParseResult r = manifest::parse(
        "# comment\n"
        "category 窗口句柄 15\n"
        "entry 1 窗口句柄 | 窗口句柄/窗口句柄.txt\n"
        "entry 2 枚举 | 窗口/枚举.txt | globals 窗口/枚举.全局变量.txt\n"
        "group BASE64\n"
        "    sub 3 编码 | 编码/BASE64/编码.txt | table t.txt crlf\n"
        "entry 3 鼠标 | same\n",
        "m.txt");
    ASSERT_TRUE(r.errors.empty()) << r.errors[0];
    const auto& items = r.manifest.items;
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[0].level, 1u);
    EXPECT_EQ(items[0].stored_count, 15u);
    EXPECT_EQ(items[2].attachment_kind, 1u);
    EXPECT_EQ(items[2].attachment->path, "窗口/枚举.全局变量.txt");
    EXPECT_TRUE(items[3].is_group);
    EXPECT_EQ(items[4].level, 3u);
    EXPECT_TRUE(items[4].attachment->ends_with_crlf);
    EXPECT_TRUE(items[5].shares_previous_record);
}

TEST(Manifest, RejectsMalformedLines) {
    struct Case {
        const char* content;
        const char* error;
    };
    const Case cases[] = {
        {"entry 1 甲 | a.txt\n", "m.txt:1: entry before the first category"},
        {"category 甲\n", "m.txt:1: expected: category NAME COUNT"},
        {"category 甲 1\nentry x 乙 | a.txt\n", "m.txt:2: expected: entry N NAME"},
        {"category 甲 1\nentry 1 乙 | a.txt | chart b.txt\n", "m.txt:2: attachment kind"},
        {"category 甲 1\nentry 1 乙 | a.txt lf\n", "m.txt:2: expected a text path"},
        {"category 甲 1\n    sub 1 乙 | a.txt\n", "m.txt:2: sub-entry outside a group"},
        {"category 甲 1\nthing\n", "m.txt:2: unknown line kind"},
    };
    for (const Case& c : cases) {
        manifest::ParseResult r = manifest::parse(c.content, "m.txt");
        ASSERT_FALSE(r.errors.empty()) << c.content;
        EXPECT_NE(r.errors[0].find(c.error), std::string::npos) << r.errors[0];
    }
}
