#include "source_form.h"

#include <algorithm>

namespace checker {

namespace {

const char* const builtin_types[] = {"字节型", "短整数型",   "整数型", "长整数型", "小数型",     "双精度小数型",
                                     "逻辑型", "日期时间型", "文本型", "字节集",   "子程序指针", "通用型"};

// Blocks of statements: the line that opens one, the lines that may stand between
// (at the opener's indentation), and the line that ends it. The IDE always writes
// .否则 and .默认, so they are required.
struct BlockForm {
    const char* opener;
    const char* middle;    // may repeat; nullptr when none
    const char* required;  // must appear once, after any middle lines; nullptr when none
    const char* end;
};

const BlockForm block_forms[] = {
    {".如果真", nullptr, nullptr, ".如果真结束"},     {".如果", nullptr, ".否则", ".如果结束"},
    {".判断开始", ".判断", ".默认", ".判断结束"},     {".计次循环首", nullptr, nullptr, ".计次循环尾"},
    {".判断循环首", nullptr, nullptr, ".判断循环尾"}, {".循环判断首", nullptr, nullptr, ".循环判断尾"},
    {".变量循环首", nullptr, nullptr, ".变量循环尾"},
};

const char* const declaration_keywords[] = {".版本", ".子程序", ".参数", ".局部变量", ".DLL命令", ".数据类型", ".成员"};

// Lines that carry a parenthesised argument list after the keyword; the others of
// the blocks stand alone.
const char* const keywords_with_arguments[] = {".如果真",     ".如果",       ".判断开始",   ".判断",
                                               ".计次循环首", ".计次循环尾", ".判断循环首", ".判断循环尾",
                                               ".循环判断首", ".循环判断尾", ".变量循环首", ".变量循环尾"};

template <size_t N>
bool one_of(const std::string& s, const char* const (&list)[N]) {
    return std::find(std::begin(list), std::end(list), s) != std::end(list);
}

bool starts_with(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

bool ascii_quoted(const std::string& s) {
    return s.size() >= 2 && s.front() == '"' && s.back() == '"' && s.find('"', 1) == s.size() - 1;
}

std::string unquote(const std::string& s) {
    return ascii_quoted(s) ? s.substr(1, s.size() - 2) : s;
}

// Splits declaration fields at commas outside ASCII and full-width quotes. Each
// field after the first must be introduced by exactly one blank after its comma.
struct Fields {
    std::vector<std::string> values;
    std::string error;
};

Fields split_fields(const std::string& s) {
    Fields out;
    std::vector<std::string> raw(1);
    bool in_ascii = false, in_wide = false;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '"' && !in_wide)
            in_ascii = !in_ascii;
        else if (s.compare(i, 3, "“") == 0 && !in_ascii)
            in_wide = true;
        else if (s.compare(i, 3, "”") == 0 && !in_ascii)
            in_wide = false;
        if (s[i] == ',' && !in_ascii && !in_wide)
            raw.emplace_back();
        else
            raw.back() += s[i];
    }
    for (size_t i = 0; i < raw.size(); ++i) {
        std::string field = raw[i];
        if (i > 0) {
            if (field.empty() || field[0] != ' ') {
                out.error = "a comma must be followed by one blank";
                return out;
            }
            field.erase(0, 1);
        }
        if (!field.empty() && (field.front() == ' ' || field.back() == ' ')) {
            out.error = "a field has extra blanks around it";
            return out;
        }
        out.values.push_back(field);
    }
    if (out.values.size() > 1 && out.values.back().empty())
        out.error = "trailing empty fields are dropped";
    return out;
}

bool attributes_valid(const std::string& field, bool in_dll) {
    if (field.empty())
        return true;
    size_t start = 0;
    while (start <= field.size()) {
        size_t blank = field.find(' ', start);
        std::string word = field.substr(start, blank == std::string::npos ? std::string::npos : blank - start);
        bool ok =
            in_dll ? (word == "传址" || word == "数组") : (word == "参考" || word == "可空" || word == "数组" || word == "传址");
        if (!ok)
            return false;
        if (blank == std::string::npos)
            break;
        start = blank + 1;
    }
    return true;
}

enum class Section { none, routine_head, routine_body, dll_command, data_type };

struct OpenBlock {
    const BlockForm* form;
    int indent;
    int line;
    bool required_seen;
};

class FormChecker {
  public:
    FormChecker(const std::string& text, SourceInfo& info) : text_(text), info_(info) {}

    Findings run() {
        std::vector<std::string> lines = lines_of(text_);
        // A text that ends with CR LF has an empty piece after it, which is no line.
        if (lines.size() > 1 && lines.back().empty() && text_.size() >= 2)
            lines.pop_back();
        int blank_run = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            line_ = int(i) + 1;
            const std::string& line = lines[i];
            if (line.find('\t') != std::string::npos)
                find("TAB in the line");
            if (line.find('\r') != std::string::npos || line.find('\n') != std::string::npos)
                find("a lone CR or LF: line ends must be CR LF");
            if (line.empty()) {
                ++blank_run;
                if (i == 0)
                    find("the text begins with an empty line");
                if (blank_run == 3)
                    find("more than two empty lines in a row");
                blank_line();
                continue;
            }
            blank_run = 0;
            size_t indent = line.find_first_not_of(' ');
            if (indent == std::string::npos) {
                find("a line of blanks only");
                continue;
            }
            if (line.back() == ' ')
                find("trailing blank");
            if (indent % 4 != 0)
                find("indentation must be a multiple of four blanks");
            if (indent > 24)
                find("nested deeper than six levels");
            std::string body = line.substr(indent);
            if (body[0] == '.')
                keyword_line(int(indent), body);
            else
                statement(int(indent));
        }
        if (lines.back().empty())
            find("the text ends with an empty line");
        close_all();
        return std::move(findings_);
    }

  private:
    void find(const std::string& reason) { findings_.push_back({line_, reason}); }

    int depth_indent() const { return int(blocks_.size()) * 4; }

    void blank_line() {
        if (section_ == Section::dll_command || section_ == Section::data_type)
            section_ = Section::none;
        if (section_ == Section::routine_head)
            section_ = Section::routine_body;
    }

    void close_all() {
        for (const OpenBlock& open : blocks_)
            findings_.push_back({open.line, std::string(open.form->opener) + " is never closed by " + open.form->end});
        blocks_.clear();
    }

    void statement(int indent) {
        if (section_ == Section::dll_command || section_ == Section::data_type)
            find("a statement inside a declaration block");
        if (section_ == Section::routine_head)
            section_ = Section::routine_body;
        if (indent != depth_indent())
            find("a statement at this depth takes " + std::to_string(depth_indent()) + " blanks");
    }

    void keyword_line(int indent, const std::string& body) {
        std::string keyword = body.substr(0, body.find(' '));
        if (one_of(keyword, declaration_keywords))
            return declaration(indent, keyword, body);
        for (const BlockForm& form : block_forms) {
            if (keyword == form.opener)
                return open_block(indent, form, body);
            if (keyword == form.end || (form.middle && keyword == form.middle) || (form.required && keyword == form.required))
                return continue_block(indent, keyword, body);
        }
        find("unknown line keyword " + keyword);
    }

    void check_arguments(const std::string& keyword, const std::string& body) {
        if (one_of(keyword, keywords_with_arguments)) {
            if (!starts_with(body, keyword + " (") || body.back() != ')')
                find(keyword + " takes its arguments as \" (…)\"");
        } else if (body != keyword) {
            find(keyword + " stands alone on its line");
        }
    }

    void open_block(int indent, const BlockForm& form, const std::string& body) {
        statement(indent);
        check_arguments(form.opener, body);
        blocks_.push_back({&form, indent, line_, false});
    }

    void continue_block(int indent, const std::string& keyword, const std::string& body) {
        check_arguments(keyword, body);
        if (blocks_.empty())
            return find(keyword + " without its opening line");
        OpenBlock& open = blocks_.back();
        if (keyword != open.form->end && keyword != (open.form->middle ? open.form->middle : "") &&
            keyword != (open.form->required ? open.form->required : ""))
            return find(keyword + " inside " + open.form->opener + " of line " + std::to_string(open.line));
        if (indent != open.indent)
            find(keyword + " must stand at the indentation of its " + open.form->opener);
        if (open.form->required && keyword == open.form->required) {
            if (open.required_seen)
                find(keyword + " twice in one block");
            open.required_seen = true;
        } else if (open.form->middle && keyword == open.form->middle && open.required_seen) {
            find(keyword + " after " + open.form->required);
        } else if (keyword == open.form->end) {
            if (open.form->required && !open.required_seen)
                find(std::string(open.form->opener) + " of line " + std::to_string(open.line) + " has no " + open.form->required);
            blocks_.pop_back();
        }
    }

    void use_type(const std::string& type) {
        if (!type.empty())
            info_.type_uses.push_back({line_, type});
    }

    void declaration(int indent, const std::string& keyword, const std::string& body) {
        if (body.size() <= keyword.size() + 1 || body[keyword.size()] != ' ' || body[keyword.size() + 1] == ' ')
            return find(keyword + " is followed by one blank and its fields");
        Fields fields = split_fields(body.substr(keyword.size() + 1));
        if (!fields.error.empty())
            return find(keyword + ": " + fields.error);
        const std::vector<std::string>& f = fields.values;
        auto field = [&](size_t i) { return i < f.size() ? f[i] : std::string(); };
        auto at_most = [&](size_t n) {
            if (f.size() > n)
                find(keyword + " has at most " + std::to_string(n) + " fields");
        };
        if (f[0].empty() || f[0].find(' ') != std::string::npos)
            find(keyword + " needs a name without blanks");
        bool top_level = keyword == ".子程序" || keyword == ".DLL命令" || keyword == ".数据类型" || keyword == ".版本";
        if (top_level) {
            close_all();
            if (indent != 0)
                find(keyword + " stands at the left margin");
        }
        if (keyword == ".版本") {
            if (line_ != 1 || body != ".版本 2")
                find(".版本 2 may only be the first line");
            section_ = Section::none;
        } else if (keyword == ".子程序") {
            at_most(4);
            use_type(field(1));
            if (!field(2).empty() && field(2) != "公开")
                find(".子程序: the third field is empty or 公开");
            info_.routines.insert(f[0]);
            info_.routine_list.push_back({f[0], 0, 0});
            section_ = Section::routine_head;
        } else if (keyword == ".DLL命令") {
            at_most(6);
            use_type(field(1));
            if (!field(2).empty() && !ascii_quoted(field(2)))
                find(".DLL命令: the library is empty or in ASCII double quotes");
            if (f.size() > 3 && !ascii_quoted(field(3)))
                find(".DLL命令: the entry point is in ASCII double quotes");
            if (!field(4).empty() && field(4) != "公开")
                find(".DLL命令: the fifth field is empty or 公开");
            info_.dll_commands.push_back({line_, f[0], field(1), unquote(field(2)), unquote(field(3)), {}});
            section_ = Section::dll_command;
        } else if (keyword == ".数据类型") {
            at_most(3);
            if (!field(1).empty() && field(1) != "公开")
                find(".数据类型: the second field is empty or 公开");
            info_.data_types.insert(f[0]);
            info_.data_type_list.push_back({line_, f[0], {}});
            section_ = Section::data_type;
        } else if (keyword == ".参数") {
            at_most(4);
            use_type(field(1));
            if (section_ == Section::dll_command) {
                if (indent != 4)
                    find(".参数 of a .DLL命令 is indented four blanks");
                if (!attributes_valid(field(2), true))
                    find(".参数 of a .DLL命令 takes only the attributes 传址 and 数组");
                info_.dll_commands.back().parameters.push_back({line_, field(1), field(2)});
            } else if (section_ == Section::routine_head) {
                if (indent != 0)
                    find(".参数 of a .子程序 is not indented");
                if (!attributes_valid(field(2), false))
                    find(".参数 takes the attributes 参考, 可空, 数组 and 传址");
                if (!info_.routine_list.empty()) {
                    Routine& routine = info_.routine_list.back();
                    ++routine.parameters;
                    if (field(2).find("可空") == std::string::npos)
                        routine.required = routine.parameters;
                }
            } else {
                find(".参数 must follow its .子程序 or .DLL命令 line");
            }
        } else if (keyword == ".局部变量") {
            at_most(5);
            if (field(1).empty())
                find(".局部变量 needs a type");
            use_type(field(1));
            if (!field(2).empty() && field(2) != "静态")
                find(".局部变量: the third field is empty or 静态");
            if (!field(3).empty() && !ascii_quoted(field(3)))
                find(".局部变量: array dimensions are in ASCII double quotes");
            // A text may also be a fragment that starts with its local variables.
            bool fragment_start = section_ == Section::none && info_.routines.empty() && info_.dll_commands.empty();
            if (section_ != Section::routine_head && !fragment_start)
                find(".局部变量 must follow its .子程序 line and parameters");
            else
                section_ = Section::routine_head;
            if (indent != 0)
                find(".局部变量 is not indented");
        } else if (keyword == ".成员") {
            at_most(5);
            if (field(1).empty())
                find(".成员 needs a type");
            use_type(field(1));
            if (!field(2).empty() && field(2) != "传址")
                find(".成员: the third field is empty or 传址");
            if (!field(3).empty() && !ascii_quoted(field(3)))
                find(".成员: array dimensions are in ASCII double quotes");
            if (section_ != Section::data_type)
                find(".成员 must follow its .数据类型 line");
            else
                info_.data_type_list.back().members.push_back({line_, f[0], field(1), field(2), field(3)});
            if (indent != 4)
                find(".成员 is indented four blanks");
        }
    }

    const std::string& text_;
    SourceInfo& info_;
    Findings findings_;
    int line_ = 0;
    Section section_ = Section::none;
    std::vector<OpenBlock> blocks_;
};

}  // namespace

bool is_builtin_type(const std::string& type) {
    return one_of(type, builtin_types);
}

Findings check_source_form(const std::string& text, SourceInfo& info) {
    return FormChecker(text, info).run();
}

Findings check_types(const SourceInfo& info) {
    Findings findings;
    for (const TypeUse& use : info.type_uses)
        if (!is_builtin_type(use.type) && !info.data_types.count(use.type))
            findings.push_back({use.line, "type " + use.type + " is neither built in nor declared in this text"});
    return findings;
}

}  // namespace checker
