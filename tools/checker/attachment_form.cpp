#include "attachment_form.h"

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "catalogue/catalogue.h"

namespace checker {

const char* const message_table_title = "名称--十进制值--十六进制值--备注";
const char* const config_table_title = "名称--值--读/写--备注";

namespace {

bool all_of(const std::string& s, const char* allowed) {
    return !s.empty() && s.find_first_not_of(allowed) == std::string::npos;
}

std::vector<std::string> fields_of(const std::string& row) {
    std::vector<std::string> fields;
    catalogue::Splitter splitter = catalogue::row_fields(row);
    for (catalogue::Text piece; splitter.next(piece);)
        fields.emplace_back(piece);
    return fields;
}

bool parse_decimal(const std::string& s, int64_t& value) {
    std::string digits = s[0] == '-' ? s.substr(1) : s;
    if (!all_of(digits, "0123456789") || digits.size() > 10)
        return false;
    value = std::strtoll(s.c_str(), nullptr, 10);
    return value >= INT32_MIN && value <= UINT32_MAX;
}

// A table's data rows with their line numbers; an empty last row is allowed only
// where the text ends with CR LF.
struct Row {
    int line;
    std::string text;
};

std::vector<Row> data_rows(const std::string& text, const char* title, Findings& findings) {
    std::vector<std::string> lines = lines_of(text);
    if (lines[0] != title)
        findings.push_back({1, std::string("the title row must be ") + title});
    std::vector<Row> rows;
    for (size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].empty()) {
            if (i + 1 != lines.size())
                findings.push_back({int(i) + 1, "an empty row inside the table"});
            continue;
        }
        rows.push_back({int(i) + 1, lines[i]});
    }
    return rows;
}

}  // namespace

Findings check_global_variables(const std::string& text, const SourceInfo& snippet, const std::string& snippet_text) {
    Findings findings;
    std::vector<std::string> lines = lines_of(text);
    if (!lines.empty() && lines.back().empty() && lines.size() > 1)
        lines.pop_back();  // a final CR LF
    size_t i = 0;
    while (i < lines.size()) {
        int line = int(i) + 1;
        const std::string name_prefix = "变量名：", type_prefix = "类型：", array_prefix = "数组：";
        if (lines[i].compare(0, name_prefix.size(), name_prefix) != 0 || lines[i].size() == name_prefix.size()) {
            findings.push_back({line, "a declaration block begins with 变量名：NAME"});
            break;
        }
        std::string name = lines[i].substr(name_prefix.size());
        if (i + 1 >= lines.size() || lines[i + 1].compare(0, type_prefix.size(), type_prefix) != 0) {
            findings.push_back({line + 1, "类型：TYPE follows 变量名："});
            break;
        }
        std::string type = lines[i + 1].substr(type_prefix.size());
        if (!is_builtin_type(type) && !snippet.data_types.count(type))
            findings.push_back({line + 1, "type " + type + " is neither built in nor declared by the snippet"});
        if (snippet_text.find(name) == std::string::npos)
            findings.push_back({line, "the snippet does not use the global variable " + name});
        i += 2;
        if (i < lines.size() && lines[i].compare(0, array_prefix.size(), array_prefix) == 0) {
            if (!all_of(lines[i].substr(array_prefix.size()), "0123456789,"))
                findings.push_back({int(i) + 1, "数组： takes the dimensions in digits"});
            ++i;
        }
        if (i < lines.size()) {
            if (!lines[i].empty() || i + 1 >= lines.size() || lines[i + 1].empty()) {
                findings.push_back({int(i) + 1, "declaration blocks are separated by one empty line"});
                break;
            }
            ++i;
        }
    }
    return findings;
}

Findings check_required_entries(const std::string& text) {
    Findings findings;
    if (text.find("\r\n") != std::string::npos)
        return {{1, "a required-entries note is one line"}};
    size_t start = 0;
    while (true) {
        size_t end = text.find("  ", start);
        std::string name = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        size_t dash = name.find(" - ");
        if (dash == std::string::npos || dash == 0 || dash + 3 >= name.size() || name.find(' ', dash + 3) != std::string::npos ||
            name.substr(0, dash).find(' ') != std::string::npos)
            findings.push_back({1, "each name is \"类别 - 名称\", two names separated by two blanks: " + name});
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    return findings;
}

Findings check_support_file_name(const std::string& text) {
    if (!all_of(text, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_-.") || text.find('.') == std::string::npos)
        return {{1, "a support file is a bare file name"}};
    return {};
}

std::vector<std::string> message_table_names(const std::string& text) {
    std::vector<std::string> names;
    std::vector<std::string> lines = lines_of(text);
    for (size_t i = 1; i < lines.size(); ++i)
        if (!lines[i].empty())
            names.push_back(fields_of(lines[i])[0]);
    return names;
}

Findings check_message_table(const std::string& text, const std::map<std::string, int64_t>& sdk_values, int& rows) {
    Findings findings;
    std::set<std::string> seen;
    for (const Row& row : data_rows(text, message_table_title, findings)) {
        auto find = [&](const std::string& reason) { findings.push_back({row.line, reason}); };
        std::vector<std::string> f = fields_of(row.text);
        if (f.size() != 4) {
            find("a row has four fields: name, decimal, hexadecimal, remark");
            continue;
        }
        const std::string &name = f[0], &decimal = f[1], &hex = f[2], &remark = f[3];
        if (!all_of(name, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_"))
            find("the name is an SDK constant name: " + name);
        if (!seen.insert(name).second)
            find(name + " stands twice in the table");
        if (remark.empty() || (remark != " " && (remark.front() == ' ' || remark.back() == ' ')))
            find("a remark is text, or one blank where it adds nothing");
        int64_t value = 0;
        if (!parse_decimal(decimal, value)) {
            find("the decimal value is not a 32-bit decimal number: " + decimal);
            continue;
        }
        // -1 and -2 keep their stored form, the digits behind "00".
        bool stored_negative = (value == -1 || value == -2) && hex == "00" + decimal;
        if (!stored_negative) {
            uint32_t as_hex = uint32_t(std::strtoull(hex.c_str(), nullptr, 16));
            if (!all_of(hex, "0123456789ABCDEF") || hex.size() > 8)
                find("the hexadecimal value is upper-case hex digits: " + hex);
            else if (as_hex != uint32_t(value))
                find("hexadecimal " + hex + " is not decimal " + decimal);
        }
        auto sdk = sdk_values.find(name);
        if (sdk == sdk_values.end())
            find(name + " is not defined by the SDK headers");
        else if (uint32_t(sdk->second) != uint32_t(value))
            find(name + " is " + std::to_string(int32_t(uint32_t(sdk->second))) + " in the SDK headers, not " + decimal);
        else
            ++rows;
    }
    return findings;
}

std::map<std::string, ConfigItem> read_config_items(const std::string& path) {
    std::map<std::string, ConfigItem> items;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string number;
        ConfigItem item;
        if (!line.empty() && line[0] != '#' && words >> number >> item.type >> item.access)
            items[number] = item;
    }
    return items;
}

Findings check_config_table(const std::string& text, const std::map<std::string, ConfigItem>& items, int& rows) {
    Findings findings;
    std::set<std::string> seen;
    for (const Row& row : data_rows(text, config_table_title, findings)) {
        auto find = [&](const std::string& reason) { findings.push_back({row.line, reason}); };
        std::vector<std::string> f = fields_of(row.text);
        if (f.size() < 4) {
            find("a row has item number, value type, access and remark");
            continue;
        }
        if (!all_of(f[0], "0123456789"))
            find("the item number is decimal digits: " + f[0]);
        if (!seen.insert(f[0]).second)
            find("item " + f[0] + " stands twice in the table");
        std::string type = f[1].size() > 1 && f[1].back() == ' ' ? f[1].substr(0, f[1].size() - 1) : f[1];
        if (type != "int" && type != "int64" && type != "str" && type != "void")
            find("the value type is int, int64, str or void: " + f[1]);
        if (f[2] != "R" && f[2] != "W" && f[2] != "R/W")
            find("the access is R, W or R/W: " + f[2]);
        if (f[3].empty())
            find("a remark is text, or one blank where it adds nothing");
        if (auto item = items.find(f[0]); item == items.end()) {
            find("item " + f[0] + " is not one of the engine's configuration items");
        } else {
            if (type != item->second.type)
                find("item " + f[0] + " has the value type " + item->second.type + ", not " + type);
            if (f[2] != item->second.access)
                find("item " + f[0] + " has the access " + item->second.access + ", not " + f[2]);
        }
        ++rows;
    }
    std::string missing;
    int missing_count = 0;
    for (const auto& [number, item] : items)
        if (!seen.count(number) && ++missing_count <= 10)
            missing += " " + number;
    if (missing_count)
        findings.push_back({1, std::to_string(missing_count) + " of the engine's items are missing:" + missing +
                                   (missing_count > 10 ? " …" : "")});
    return findings;
}

}  // namespace checker
