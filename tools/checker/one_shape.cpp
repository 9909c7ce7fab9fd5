#include "one_shape.h"

#include <algorithm>
#include <map>
#include <sstream>

#include "dll_check.h"

namespace checker {

namespace {

// 传址 and 数组 in one order, whatever order the line names them in.
std::string attribute_set(const std::string& attributes) {
    std::istringstream in(attributes);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    std::sort(words.begin(), words.end());
    std::string out;
    for (const std::string& word : words)
        out += (out.empty() ? "" : " ") + word;
    return out;
}

std::string or_none(const std::string& s, const char* none) {
    return s.empty() ? none : s;
}

// The first difference between two declarations of one DLL command, as "X here, Y
// there"; empty when they have one shape.
std::string dll_difference(const DllCommand& here, const DllCommand& there) {
    auto differ = [](const std::string& what, const std::string& a, const std::string& b) {
        return what + " " + a + " here, " + b + " there";
    };
    if (here.return_type != there.return_type)
        return differ("return type", or_none(here.return_type, "(none)"), or_none(there.return_type, "(none)"));
    std::string lib_here = library_key(here.library), lib_there = library_key(there.library);
    if (lib_here != lib_there)
        return differ("library", or_none(lib_here, "(the default libraries)"), or_none(lib_there, "(the default libraries)"));
    std::string entry_here = here.entry.empty() ? here.name : here.entry;
    std::string entry_there = there.entry.empty() ? there.name : there.entry;
    if (entry_here != entry_there)
        return differ("entry", entry_here, entry_there);
    if (here.parameters.size() != there.parameters.size())
        return differ("parameter count", std::to_string(here.parameters.size()), std::to_string(there.parameters.size()));
    for (size_t i = 0; i < here.parameters.size(); ++i) {
        const DllParameter &a = here.parameters[i], &b = there.parameters[i];
        std::string what = "parameter " + std::to_string(i + 1);
        // An empty type is the language's default, 整数型.
        std::string type_a = or_none(a.type, "整数型"), type_b = or_none(b.type, "整数型");
        if (type_a != type_b)
            return differ(what + " type", type_a, type_b);
        std::string marks_a = attribute_set(a.attributes), marks_b = attribute_set(b.attributes);
        if (marks_a != marks_b)
            return differ(what + " marks", or_none(marks_a, "(none)"), or_none(marks_b, "(none)"));
    }
    return {};
}

std::string type_difference(const DataType& here, const DataType& there) {
    auto differ = [](const std::string& what, const std::string& a, const std::string& b) {
        return what + " " + a + " here, " + b + " there";
    };
    if (here.members.size() != there.members.size())
        return differ("member count", std::to_string(here.members.size()), std::to_string(there.members.size()));
    for (size_t i = 0; i < here.members.size(); ++i) {
        const Member &a = here.members[i], &b = there.members[i];
        std::string what = "member " + std::to_string(i + 1);
        if (a.name != b.name)
            return differ(what + " name", a.name, b.name);
        if (a.type != b.type)
            return differ(what + " type", a.type, b.type);
        if (a.attributes != b.attributes)
            return differ(what + " marks", or_none(a.attributes, "(none)"), or_none(b.attributes, "(none)"));
        if (a.dimensions != b.dimensions)
            return differ(what + " dimensions", or_none(a.dimensions, "(none)"), or_none(b.dimensions, "(none)"));
    }
    return {};
}

struct First {
    const DeclaringText* text;
    int line;
};

std::string where(const First& first) {
    return "record " + std::to_string(first.text->record) + " (" + first.text->path + ":" + std::to_string(first.line) + ")";
}

}  // namespace

std::vector<PlacedFinding> check_one_shape(const std::vector<DeclaringText>& texts) {
    std::vector<PlacedFinding> findings;
    std::map<std::string, std::pair<First, const DllCommand*>> commands;
    std::map<std::string, std::pair<First, const DataType*>> types;
    for (const DeclaringText& text : texts) {
        for (const DllCommand& command : text.info->dll_commands) {
            auto [it, first] = commands.try_emplace(command.name, First{&text, command.line}, &command);
            if (first)
                continue;
            std::string difference = dll_difference(command, *it->second.second);
            if (!difference.empty())
                findings.push_back(
                    {text.record,
                     text.path,
                     {command.line, ".DLL命令 " + command.name + " has another shape in " + where(it->second.first) + ": " +
                                        difference + "; a variant takes a name of its own"}});
        }
        for (const DataType& type : text.info->data_type_list) {
            auto [it, first] = types.try_emplace(type.name, First{&text, type.line}, &type);
            if (first)
                continue;
            std::string difference = type_difference(type, *it->second.second);
            if (!difference.empty())
                findings.push_back({text.record,
                                    text.path,
                                    {type.line, ".数据类型 " + type.name + " has another shape in " + where(it->second.first) +
                                                    ": " + difference + "; a variant takes a name of its own"}});
        }
    }
    return findings;
}

}  // namespace checker
