// The form of a source text (a snippet or companion snippet): line ends, indentation,
// line keywords, declaration fields and balanced blocks. What the text declares is
// collected for the later checks (DLL exports, types, calls).
#pragma once

#include <set>
#include <string>
#include <vector>

#include "finding.h"

namespace checker {

struct DllParameter {
    int line;
    std::string type;        // empty: the language's default, 整数型
    std::string attributes;  // "传址", "数组", both, or empty
};

struct DllCommand {
    int line;
    std::string name;
    std::string return_type;
    std::string library;  // without quotes; empty for the language's default libraries
    std::string entry;    // without quotes; empty when the field is absent
    std::vector<DllParameter> parameters;
};

struct Member {
    int line;
    std::string name;
    std::string type;
    std::string attributes;  // "传址" or empty
    std::string dimensions;  // as written, quotes included; empty when not an array
};

struct DataType {
    int line;
    std::string name;
    std::vector<Member> members;
};

struct TypeUse {
    int line;
    std::string type;
};

struct Routine {
    std::string name;
    int parameters = 0;
    int required = 0;  // parameters up to the last one that is not 可空
};

struct SourceInfo {
    std::vector<DllCommand> dll_commands;
    std::set<std::string> data_types;  // declared with .数据类型
    std::vector<DataType> data_type_list;
    std::set<std::string> routines;  // declared with .子程序
    std::vector<Routine> routine_list;
    std::vector<TypeUse> type_uses;
};

Findings check_source_form(const std::string& text, SourceInfo& info);

// Every type used is built in or declared in the same text.
Findings check_types(const SourceInfo& info);

bool is_builtin_type(const std::string& type);

}  // namespace checker
