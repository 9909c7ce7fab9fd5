// The forms of the attachment texts: global-variable declarations, constants tables,
// required-entries notes and support-file names.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "finding.h"
#include "source_form.h"

namespace checker {

// Blocks of "变量名：", "类型：" and optionally "数组：" lines. Each type must be built in
// or declared by the record's snippet, and the snippet must use each variable.
Findings check_global_variables(const std::string& text, const SourceInfo& snippet, const std::string& snippet_text);

// "类别 - 名称", several separated by two blanks.
Findings check_required_entries(const std::string& text);

// A bare file name.
Findings check_support_file_name(const std::string& text);

extern const char* const message_table_title;
extern const char* const config_table_title;

// The names of a message table's rows, to be looked up in the SDK headers.
std::vector<std::string> message_table_names(const std::string& text);

// Rows of name, decimal, hexadecimal and remark; each value must be what the SDK
// headers give the name (compared as 32-bit values). rows counts the rows checked.
Findings check_message_table(const std::string& text, const std::map<std::string, int64_t>& sdk_values, int& rows);

struct ConfigItem {
    std::string type;    // int, int64, str or void
    std::string access;  // R, W or R/W
};

// "NUMBER TYPE ACCESS" lines; # starts a comment. Empty on a read error.
std::map<std::string, ConfigItem> read_config_items(const std::string& path);

// The video engine's configuration items: number, value type, access, remark. Each
// of the engine's items stands once, with its own type and access.
Findings check_config_table(const std::string& text, const std::map<std::string, ConfigItem>& items, int& rows);

}  // namespace checker
