// Each rule of the catalogue checker on a small fixture that breaks it, and on the
// smallest text that keeps it.
#include <gtest/gtest.h>

#include "tools/checker/attachment_form.h"
#include "tools/checker/calls.h"
#include "tools/checker/dll_check.h"
#include "tools/checker/one_shape.h"
#include "tools/checker/record_check.h"
#include "tools/checker/source_form.h"

using namespace checker;

namespace {

// A few real exports, as nm shows them in the i686 import libraries.
class FakeExports : public ExportTables {
  public:
    FakeExports() {
        for (const char* symbol : {"_GetParent@4", "_SendMessageA@16", "_FindWindowExA@16", "_wsprintfA"})
            add_nm_symbol(tables_["user32"], symbol);
        add_nm_symbol(tables_["kernel32"], "_GetTickCount@0");
        add_nm_symbol(tables_["kernel32"], "_MulDiv@12");
        add_nm_symbol(tables_["shell32"], "_ShellExecuteA@24");
        for (const char* dll : {"gdi32", "mpr", "advapi32"})
            tables_[dll];
    }
    const std::map<std::string, Export>* exports_of(const std::string& dll) override {
        auto found = tables_.find(dll);
        return found == tables_.end() ? nullptr : &found->second;
    }

  private:
    std::map<std::string, std::map<std::string, Export>> tables_;
};

const std::map<std::string, int64_t> sdk = {
    {"WM_NULL", 0}, {"WM_CREATE", 1}, {"CBN_ERRSPACE", -1}, {"TVI_ROOT", -65536}, {"LVN_ITEMCHANGED", 4294967195LL}};

const std::map<std::string, ConfigItem> config_items = {{"1", {"str", "R"}}, {"5", {"int", "R/W"}}, {"6", {"int64", "W"}}};

// CR LF joins the lines of a fixture.
std::string text(std::initializer_list<const char*> lines) {
    std::string out;
    for (const char* line : lines)
        out += (out.empty() && line == *lines.begin() ? "" : "\r\n") + std::string(line);
    return out;
}

Findings check_snippet(const std::string& snippet, int* verified = nullptr) {
    FakeExports exports;
    Counts counts;
    CheckContext context{exports, sdk, config_items, counts};
    RecordFindings found = check_record({1, 0, snippet, ""}, context, true, false);
    if (verified)
        *verified = counts.dll_commands;
    return found.snippet;
}

::testing::AssertionResult finds(const Findings& findings, int line, const std::string& reason_part) {
    for (const Finding& f : findings)
        if (f.line == line && f.reason.find(reason_part) != std::string::npos)
            return ::testing::AssertionSuccess();
    std::string all;
    for (const Finding& f : findings)
        all += "\n  " + std::to_string(f.line) + ": " + f.reason;
    return ::testing::AssertionFailure() << "no finding at line " << line << " with '" << reason_part << "'; found:" << all;
}

}  // namespace

TEST(SourceForm, WellFormedTextsPass) {
    const std::string texts[] = {
        text({".DLL命令 GetParent, 整数型, , \"GetParent\"", "    .参数 窗口句柄, 整数型"}),
        text({".子程序 取父窗口, 整数型, , 取得父窗口的句柄",
              ".参数 窗口句柄, 整数型",
              ".局部变量 结果, 整数型",
              ".局部变量 列表, 文本型, , \"0\"",
              "",
              "结果 ＝ GetParent (窗口句柄)",
              ".如果真 (结果 ＝ 0)",
              "    返回 (0)",
              ".如果真结束",
              ".判断开始 (结果 ＞ 1)",
              "    结果 ＝ 1",
              ".判断 (结果 ＜ 0)",
              "    结果 ＝ 0",
              ".默认",
              "    .计次循环首 (3, )",
              "        结果 ＝ 结果 ＋ 1",
              "    .计次循环尾 ()",
              ".判断结束",
              ".如果 (结果 ≠ 2)",
              "    返回 (结果)",
              ".否则",
              "",
              ".如果结束",
              "返回 (结果)",
              "",
              "",
              ".DLL命令 GetParent, 整数型, , \"GetParent\"",
              "    .参数 窗口句柄, 整数型"}),
        text({".数据类型 坐标点", "    .成员 横向, 整数型, , , x", "    .成员 名称, 字节型, , \"260\""}),
        text({".DLL命令 ShellExecuteA, 整数型, \"shell32.dll\", \"ShellExecuteA\"", "    .参数 窗口句柄, 整数型",
              "    .参数 操作, 文本型", "    .参数 文件, 文本型", "    .参数 参数, 文本型", "    .参数 目录, 文本型",
              "    .参数 显示方式, 整数型"}),
        "取字节集数据 (字节集 (项名称, 键名, 4), #整数型, )",
        text({".版本 2", "", ".DLL命令 GetTickCount, 整数型, , \"GetTickCount\""}),
    };
    for (const std::string& t : texts) {
        Findings findings = check_snippet(t);
        EXPECT_TRUE(findings.empty()) << t << "\nfirst: " << (findings.empty() ? "" : findings[0].reason);
    }
}

TEST(SourceForm, EachBrokenRuleIsFound) {
    struct Case {
        std::string text;
        int line;
        const char* reason;
    };
    const Case cases[] = {
        {text({"a ＝ 1", "\tb ＝ 2"}), 2, "TAB"},
        {"a ＝ 1\nb ＝ 2", 1, "lone CR or LF"},
        {text({".子程序 甲", "", ".如果真 (真)", "    返回 ()"}), 3, ".如果真 is never closed"},
        {text({".子程序 甲", "", ".如果 (真)", "    返回 ()", ".如果结束"}), 5, "has no .否则"},
        {text({".子程序 甲", "", ".判断开始 (真)", "    返回 ()", ".默认", ".判断 (假)", ".判断结束"}), 6, "after .默认"},
        {text({".子程序 甲", "", ".计次循环首 (3, )", "    返回 ()", ".判断循环尾 ()"}), 5, "inside .计次循环首"},
        {text({".子程序 甲", "", "  返回 ()"}), 3, "multiple of four"},
        {text({".子程序 甲", "", "    返回 ()"}), 3, "takes 0 blanks"},
        {text({".子程序 甲", "", ".如果真 (真)", "返回 ()", ".如果真结束"}), 4, "takes 4 blanks"},
        {text({".子程序 甲", "", ".如果真 真", ".如果真结束"}), 3, "arguments"},
        {text({".DLL命令 GetParent,整数型, , \"GetParent\""}), 1, "one blank"},
        {text({".DLL命令 GetParent, 整数型,  , \"GetParent\""}), 1, "extra blanks"},
        {text({".子程序 甲, 整数型, "}), 1, "trailing"},
        {text({".DLL命令 GetParent, 整数型, user32, \"GetParent\""}), 1, "library is empty or in ASCII double quotes"},
        {text({".DLL命令 GetParent, 整数型, , GetParent"}), 1, "entry point is in ASCII double quotes"},
        {text({".DLL命令 GetParent, 整数型, , \"GetParent\"", ".参数 窗口句柄, 整数型"}), 2, "indented four blanks"},
        {text({".子程序 甲", "    .参数 窗口句柄, 整数型"}), 2, "not indented"},
        {text({".数据类型 点", ".成员 横向, 整数型"}), 2, "indented four blanks"},
        {text({"a ＝ 1", ".参数 窗口句柄, 整数型"}), 2, "must follow its .子程序"},
        {text({".子程序 甲", ".参数 窗口句柄, 整数型, 参考 传值"}), 2, "attributes"},
        {text({".DLL命令 GetParent, 整数型, , \"GetParent\"", "    .参数 窗口句柄, 整数型, 参考"}), 2, "传址 and 数组"},
        {text({".子程序 甲", ".局部变量 表, 文本型, , 0"}), 2, "ASCII double quotes"},
        {text({".子程序 甲", ".参数 位置, 坐标点"}), 2, "type 坐标点 is neither built in nor declared"},
        {text({".子程序 甲", "", "a ＝ 1", "", "", "", "b ＝ 1"}), 6, "more than two empty lines"},
        {text({"", "a ＝ 1"}), 1, "begins with an empty line"},
        {text({"a ＝ 1 "}), 1, "trailing blank"},
        {text({".如果真结束"}), 1, "without its opening line"},
        {text({".循环 (真)"}), 1, "unknown line keyword"},
        {text({"a ＝ 1", ".版本 2"}), 2, "first line"},
        {text({".DLL命令 GetParent, 整数型, , \"GetParent\"", "    .参数 窗口句柄, 整数型", "a ＝ 1"}), 3,
         "inside a declaration"},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(finds(check_snippet(c.text), c.line, c.reason)) << c.text;
}

TEST(DllCommands, CheckedAgainstTheExportTables) {
    struct Case {
        std::string text;
        int line;
        const char* reason;  // nullptr: passes and counts as verified
    };
    const Case cases[] = {
        {text({".DLL命令 GetParent, 整数型, , \"GetParent\"", "    .参数 窗口句柄, 整数型"}), 0, nullptr},
        {text({".DLL命令 取父窗口, 整数型, \"USER32.DLL\", \"GetParent\"", "    .参数 窗口句柄, 整数型"}), 0, nullptr},
        {text({".DLL命令 GetParent, 整数型, \"user32\"", "    .参数 窗口句柄, 整数型"}), 0, nullptr},
        {text({".DLL命令 MulDiv, 整数型, , \"MulDiv\"", "    .参数 甲, 整数型", "    .参数 乙, 整数型", "    .参数 丙, 整数型"}),
         0, nullptr},
        {text({".DLL命令 wsprintfA, 整数型, \"user32.dll\", \"wsprintfA\"", "    .参数 缓冲, 文本型"}), 0, nullptr},
        // A wrong @N: SendMessageA takes 16 bytes.
        {text({".DLL命令 SendMessageA, 整数型, , \"SendMessageA\"", "    .参数 窗口句柄, 整数型", "    .参数 消息, 整数型",
               "    .参数 参数一, 整数型"}),
         1, "takes 16 bytes"},
        {text({".DLL命令 SendMessageA, 整数型, , \"SendMessageA\"", "    .参数 窗口句柄, 整数型", "    .参数 消息, 整数型",
               "    .参数 参数一, 整数型", "    .参数 参数二, 双精度小数型"}),
         1, "add up to 20"},
        // An entry that no DLL exports, and the right name in the wrong library.
        {text({".DLL命令 GetParentA, 整数型, , \"GetParentA\""}), 1, "GetParentA is not an export"},
        {text({".DLL命令 GetParent, 整数型, \"shell32.dll\", \"GetParent\"", "    .参数 窗口句柄, 整数型"}), 1,
         "not an export of shell32"},
        {text({".DLL命令 Foo, 整数型, \"nosuch.dll\", \"Foo\""}), 1, "library nosuch cannot be resolved"},
        {text({".DLL命令 GetParent, 双精度小数型, , \"GetParent\"", "    .参数 窗口句柄, 整数型"}), 1, "cannot return"},
        {text({".DLL命令 GetParent, 整数型, , \"GetParent\"", "    .参数 窗口句柄, 通用型"}), 2, "no fixed size"},
        {text({".DLL命令 GetParent, 整数型, , \"#12\""}), 1, "cannot be verified"},
    };
    for (const Case& c : cases) {
        int verified = 0;
        Findings findings = check_snippet(c.text, &verified);
        if (c.reason) {
            EXPECT_TRUE(finds(findings, c.line, c.reason)) << c.text;
            EXPECT_EQ(verified, 0) << c.text;
        } else {
            EXPECT_TRUE(findings.empty()) << c.text << "\n" << (findings.empty() ? "" : findings[0].reason);
            EXPECT_EQ(verified, 1) << c.text;
        }
    }
}

TEST(DllCommands, ExportsReadFromNmLines) {
    struct Case {
        const char* kind;
        const char* symbol;
        const char* name;  // nullptr: adds nothing
        bool stdcall;
        int bytes;
    };
    const Case cases[] = {
        {"T", "_GetTickCount@0", "GetTickCount", true, 0},
        {"T", "_wsprintfA", "wsprintfA", false, 0},
        // A stdcall export with an import slot and no thunk.
        {"I", "__imp__InterlockedIncrement@4", "InterlockedIncrement", true, 4},
        {"I", "__imp__someData", nullptr, false, 0},
        {"T", "__imp__GetTickCount@0", nullptr, false, 0},
        {"D", "_GetTickCount@0", nullptr, false, 0},
    };
    for (const Case& c : cases) {
        std::map<std::string, Export> exports;
        add_nm_line(exports, c.kind, c.symbol);
        if (!c.name) {
            EXPECT_TRUE(exports.empty()) << c.kind << " " << c.symbol;
            continue;
        }
        ASSERT_EQ(exports.size(), 1u) << c.kind << " " << c.symbol;
        EXPECT_EQ(exports.begin()->first, c.name);
        EXPECT_EQ(exports.begin()->second.stdcall, c.stdcall) << c.symbol;
        EXPECT_EQ(exports.begin()->second.stack_bytes, c.bytes) << c.symbol;
    }
}

TEST(DllCommands, StackBytesFollowTheTypeRules) {
    struct Case {
        const char* type;
        const char* attributes;
        int bytes;
    };
    const Case cases[] = {
        {"整数型", "", 4},   {"字节型", "", 4},       {"短整数型", "", 4},   {"逻辑型", "", 4},       {"小数型", "", 4},
        {"文本型", "", 4},   {"字节集", "", 4},       {"子程序指针", "", 4}, {"坐标点", "", 4},       {"", "", 4},
        {"长整数型", "", 8}, {"双精度小数型", "", 8}, {"日期时间型", "", 8}, {"长整数型", "传址", 4}, {"双精度小数型", "数组", 4},
        {"通用型", "", -1}};
    for (const Case& c : cases)
        EXPECT_EQ(stack_bytes({1, c.type, c.attributes}), c.bytes) << c.type << " " << c.attributes;
}

TEST(MessageTables, RowsAgainstTheSdkValues) {
    const std::string title = message_table_title;
    struct Case {
        std::string table;
        int line;
        const char* reason;  // nullptr: no finding
    };
    const Case cases[] = {
        {text({title.c_str(), "WM_NULL--0--0000--空消息", "WM_CREATE--1--1-- ", "CBN_ERRSPACE---1--00-1--组合框内存不足",
               "TVI_ROOT---65536--FFFF0000--根", "LVN_ITEMCHANGED---101--FFFFFF9B--已改变"}),
         0, nullptr},
        {text({title.c_str(), "WM_CREATE--2--0002--创建"}), 2, "is 1 in the SDK headers"},
        {text({title.c_str(), "WM_CREATE--1--0002--创建"}), 2, "is not decimal 1"},
        {text({title.c_str(), "WM_CREATE--1--000a--创建"}), 2, "upper-case"},
        {text({title.c_str(), "WM_CREATE--1--0001"}), 2, "four fields"},
        {text({title.c_str(), "WM_CREATE--1--0001--"}), 2, "remark"},
        {text({title.c_str(), "WM_BOGUS--1--0001--无"}), 2, "not defined by the SDK"},
        {text({title.c_str(), "WM_CREATE--1--0001--创建", "WM_CREATE--1--0001--创建"}), 3, "stands twice"},
        {text({title.c_str(), "", "WM_CREATE--1--0001--创建"}), 2, "empty row inside"},
        {text({"名称--值--备注", "WM_CREATE--1--0001--创建"}), 1, "title row"},
        {text({title.c_str(), "WM_CREATE--x1--0001--创建"}), 2, "not a 32-bit decimal"},
    };
    for (const Case& c : cases) {
        int rows = 0;
        Findings findings = check_message_table(c.table, sdk, rows);
        if (c.reason)
            EXPECT_TRUE(finds(findings, c.line, c.reason)) << c.table;
        else
            EXPECT_TRUE(findings.empty()) << c.table << "\n" << (findings.empty() ? "" : findings[0].reason);
    }
    int rows = 0;
    EXPECT_TRUE(check_message_table(title + "\r\nWM_NULL--0--0--空\r\n", sdk, rows).empty());  // a final CR LF
    EXPECT_EQ(rows, 1);
}

TEST(ConfigTable, ItemRowsAgainstTheEngineItems) {
    const std::string title = config_table_title;
    const std::string good_rest = "\r\n6--int64--W--大小";
    struct Case {
        std::string table;
        int line;
        const char* reason;  // nullptr: no finding
    };
    const Case cases[] = {
        // A trailing blank on the type is tolerated; "--" inside a remark gives more fields.
        {text({title.c_str(), "1--str--R--信息", "5--int --R/W--0--关，1--开"}) + good_rest, 0, nullptr},
        {text({title.c_str(), "1--string--R--信息", "5--int--R/W--模式"}) + good_rest, 2, "value type is int"},
        {text({title.c_str(), "1--str--RW--信息", "5--int--R/W--模式"}) + good_rest, 2, "access is R, W or R/W"},
        {text({title.c_str(), "x1--str--R--信息", "1--str--R--信息", "5--int--R/W--模式"}) + good_rest, 2, "item number"},
        {text({title.c_str(), "1--str--R--信息", "5--int--R/W--模式", "5--int--R/W--模式"}) + good_rest, 4, "stands twice"},
        {text({title.c_str(), "1--int--R--信息", "5--int--R/W--模式"}) + good_rest, 2, "value type str, not int"},
        {text({title.c_str(), "1--str--R/W--信息", "5--int--R/W--模式"}) + good_rest, 2, "access R, not R/W"},
        {text({title.c_str(), "1--str--R--信息", "5--int--R/W--模式", "7--int--R--结果"}) + good_rest, 4,
         "not one of the engine's"},
        {text({title.c_str(), "1--str--R--信息"}) + good_rest, 1, "1 of the engine's items are missing: 5"},
        {text({title.c_str(), "1--str--R--信息", "5--int--R/W--"}) + good_rest, 3, "remark"},
    };
    for (const Case& c : cases) {
        int rows = 0;
        Findings findings = check_config_table(c.table, config_items, rows);
        if (c.reason)
            EXPECT_TRUE(finds(findings, c.line, c.reason)) << c.table;
        else
            EXPECT_TRUE(findings.empty()) << c.table << "\n" << (findings.empty() ? "" : findings[0].reason);
    }
}

TEST(GlobalVariables, BlocksTypesAndUse) {
    SourceInfo snippet;
    snippet.data_types.insert("窗口信息");
    const std::string uses = "加入成员 (当前窗口列表, 信息)\r\n保存地址 ＝ 1";
    struct Case {
        std::string text;
        int line;
        const char* reason;
    };
    const Case cases[] = {
        {text({"变量名：当前窗口列表", "类型：窗口信息", "数组：0"}), 0, nullptr},
        {text({"变量名：当前窗口列表", "类型：窗口信息", "", "变量名：保存地址", "类型：整数型", "数组：0", ""}), 0, nullptr},
        {text({"变量名：当前窗口列表", "类型：线程许可证"}), 2, "neither built in nor declared"},
        {text({"变量名：集_目录", "类型：文本型"}), 1, "does not use"},
        {text({"变量名：当前窗口列表"}), 2, "类型：TYPE"},
        {text({"名称：当前窗口列表", "类型：整数型"}), 1, "begins with 变量名"},
        {text({"变量名：当前窗口列表", "类型：窗口信息", "", "", "变量名：保存地址", "类型：整数型"}), 3, "one empty line"},
    };
    for (const Case& c : cases) {
        Findings findings = check_global_variables(c.text, snippet, uses);
        if (c.reason)
            EXPECT_TRUE(finds(findings, c.line, c.reason)) << c.text;
        else
            EXPECT_TRUE(findings.empty()) << c.text << "\n" << (findings.empty() ? "" : findings[0].reason);
    }
}

TEST(NotesAndSupportFiles, Forms) {
    EXPECT_TRUE(check_required_entries("文本 - 逐字分割").empty());
    EXPECT_TRUE(check_required_entries("网页 - 域名  文本 - 逐字分割").empty());
    EXPECT_FALSE(check_required_entries("网页 - 域名 文本 - 逐字分割").empty());
    EXPECT_FALSE(check_required_entries("逐字分割").empty());
    EXPECT_FALSE(check_required_entries("文本 - 逐字分割\r\n运算 - 括号计算").empty());
    EXPECT_TRUE(check_support_file_name("GZIP.dll").empty());
    EXPECT_FALSE(check_support_file_name("download\\GZIP.dll").empty());
    EXPECT_FALSE(check_support_file_name("GZIP").empty());
}

TEST(Calls, FoundInStatementsAndConditions) {
    std::string t = text({".子程序 甲, , , 备注 (不是调用)", ".参数 乙, 整数型", "", "' 注释 (不是调用)",
                          "结果 ＝ GetParent (乙)", ".如果真 (取反 (IsWindow (乙, “a, b (c)”)))", "    分割文本 (文本, “,”, )",
                          ".如果真结束", "EnumWindows (&回调, 0)", "取现行时间 ()", "数组 [1] ＝ 结构.成员 (1)",
                          "x ＝ #常量 ＋ 取整 ({ 1, 2 }, (3))", ".如果真 (a 或 (b 且 (取绝对值 (c) ＞ 1)))", ".如果真结束"});
    std::vector<Call> calls = calls_in(t);
    std::vector<std::string> seen;
    for (const Call& c : calls)
        seen.push_back(std::to_string(c.line) + " " + (c.address_only ? "&" : "") + c.name + "/" + std::to_string(c.arguments));
    EXPECT_EQ(seen, (std::vector<std::string>{"5 GetParent/1", "6 取反/1", "6 IsWindow/2", "7 分割文本/3", "9 EnumWindows/2",
                                              "9 &回调/0", "10 取现行时间/0", "12 取整/2", "13 取绝对值/1"}));
}

TEST(Calls, ResolvedAgainstDeclarationsCoreAndNamedEntries) {
    const std::map<std::string, Arity> core = {{"取反", {1, 1}}, {"返回", {0, 1}}, {"位或", {2, -1}}, {"取文本左边", {2, 2}}};
    std::string declarations = text({".子程序 甲, 整数型", ".参数 窗口, 整数型", ".参数 选项, 整数型, 可空", "", "返回 (0)", "",
                                     ".DLL命令 GetParent, 整数型, , \"GetParent\"", "    .参数 窗口句柄, 整数型"});
    SourceInfo info;
    check_source_form(declarations, info);
    struct Case {
        const char* statement;
        const char* reason;  // nullptr: resolves
    };
    const Case cases[] = {
        {"甲 (1)", nullptr},
        {"甲 (1, 2)", nullptr},
        {"GetParent (1)", nullptr},
        {"位或 (1, 2, 4, 8)", nullptr},
        {"返回 (取反 (真))", nullptr},
        {"x ＝ &甲", nullptr},
        {"甲 (1, 2, 3)", "甲 takes at most 2 arguments"},
        {"甲 ()", "甲 needs 1 arguments"},
        {"GetParent ()", "GetParent needs 1 arguments"},
        {"取文本左边 (a, 1, 2)", "取文本左边 takes at most 2"},
        {"GetParentW (1)", "GetParentW is called but not declared"},
        {"x ＝ &乙", "乙 is not a routine declared here"},
    };
    for (const Case& c : cases) {
        CallContext context{core, callable_in(info), false};
        Findings findings = check_calls(text({".子程序 丙", "", c.statement}), context);
        if (c.reason)
            EXPECT_TRUE(finds(findings, 3, c.reason)) << c.statement;
        else
            EXPECT_TRUE(findings.empty()) << c.statement << ": " << findings[0].reason;
    }
    // Calls into an entry that is not written yet cannot be checked, and are let pass.
    CallContext open{core, {}, true};
    EXPECT_TRUE(check_calls("写字节集 (项名称, 键名, 欲写入值, 3)", open).empty());
}

TEST(OneShape, ADeclarationAgainstTheFirstOfItsName) {
    // The first text declares both names; the second text varies one thing at a time.
    const std::string first = text({".DLL命令 FindWindowExA, 整数型, , \"FindWindowExA\"", "    .参数 父窗口, 整数型",
                                    "    .参数 子窗口, 整数型", "    .参数 类名, 文本型", "    .参数 标题, 文本型", "",
                                    ".数据类型 坐标点", "    .成员 横坐标, 整数型", "    .成员 纵坐标, 整数型"});
    const char* const find_window[] = {".DLL命令 FindWindowExA, 整数型, , \"FindWindowExA\"", "    .参数 父窗口, 整数型",
                                       "    .参数 子窗口, 整数型", "    .参数 类名, 文本型", "    .参数 标题, 文本型"};
    auto varied = [&](size_t line, const char* replacement) {
        std::string out;
        for (size_t i = 0; i < std::size(find_window); ++i)
            out += (i ? "\r\n" : "") + std::string(i == line ? replacement : find_window[i]);
        return out;
    };
    struct Case {
        std::string second;
        const char* reason;  // nullptr: one shape
    };
    const Case cases[] = {
        // Parameter names and remarks do not matter: DLL calls are positional.
        {varied(3, "    .参数 窗口类名, 文本型, , 可为空"), nullptr},
        {varied(0, ".DLL命令 FindWindowExA, 整数型, , \"FindWindowExA\", , 找子窗口"), nullptr},
        {varied(1, "    .参数 父窗口"), nullptr},  // no type: the default 整数型
        {text({".数据类型 坐标点", "    .成员 横坐标, 整数型, , , x", "    .成员 纵坐标, 整数型"}), nullptr},
        // What a pasted copy would change.
        {varied(3, "    .参数 类名, 整数型"), "parameter 3 type 整数型 here, 文本型 there"},
        {varied(3, "    .参数 类名, 文本型, 传址"), "parameter 3 marks 传址 here, (none) there"},
        {varied(0, ".DLL命令 FindWindowExA, 逻辑型, , \"FindWindowExA\""), "return type 逻辑型 here, 整数型 there"},
        {varied(0, ".DLL命令 FindWindowExA, 整数型, \"user32.dll\", \"FindWindowExA\""),
         "library user32 here, (the default libraries) there"},
        {varied(0, ".DLL命令 FindWindowExA, 整数型, , \"FindWindowEx\""), "entry FindWindowEx here, FindWindowExA there"},
        {varied(4, ""), "parameter count"},
        {text({".数据类型 坐标点", "    .成员 横, 整数型", "    .成员 纵, 整数型"}), "member 1 name 横 here, 横坐标 there"},
        {text({".数据类型 坐标点", "    .成员 横坐标, 短整数型", "    .成员 纵坐标, 整数型"}), "member 1 type"},
        {text({".数据类型 坐标点", "    .成员 横坐标, 整数型", "    .成员 纵坐标, 整数型, , \"2\""}), "member 2 dimensions"},
        {text({".数据类型 坐标点", "    .成员 横坐标, 整数型"}), "member count 1 here, 2 there"},
    };
    for (const Case& c : cases) {
        std::string second = c.second;
        // varied(4, "") leaves an empty last line: drop it, so that the command has 3 parameters.
        while (second.size() >= 2 && second.compare(second.size() - 2, 2, "\r\n") == 0)
            second.resize(second.size() - 2);
        SourceInfo a, b;
        ASSERT_TRUE(check_source_form(first, a).empty());
        ASSERT_TRUE(check_source_form(second, b).empty()) << second;
        auto findings = check_one_shape({{1, "一.txt", &a}, {2, "二.txt", &b}});
        if (!c.reason) {
            EXPECT_TRUE(findings.empty()) << second << "\n" << (findings.empty() ? "" : findings[0].finding.reason);
            continue;
        }
        ASSERT_EQ(findings.size(), 1u) << second;
        EXPECT_EQ(findings[0].record, 2u);
        EXPECT_EQ(findings[0].path, "二.txt");
        EXPECT_EQ(findings[0].finding.line, 1);
        EXPECT_NE(findings[0].finding.reason.find(c.reason), std::string::npos) << findings[0].finding.reason;
        EXPECT_NE(findings[0].finding.reason.find("record 1 (一.txt:"), std::string::npos) << findings[0].finding.reason;
    }
    // A name declared once, or twice alike, gives nothing; a third unlike copy is set against the first.
    SourceInfo a, b, c;
    ASSERT_TRUE(check_source_form(first, a).empty());
    ASSERT_TRUE(check_source_form(first, b).empty());
    ASSERT_TRUE(check_source_form(varied(2, "    .参数 子窗口, 文本型"), c).empty());
    auto findings = check_one_shape({{1, "一.txt", &a}, {2, "二.txt", &b}, {3, "三.txt", &c}});
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].record, 3u);
}
