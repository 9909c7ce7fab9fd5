#include "calls.h"

#include <fstream>
#include <sstream>

namespace checker {

namespace {

// Decodes the UTF-8 character at i and returns its length (1 for a stray byte).
size_t decode(const std::string& s, size_t i, char32_t& c) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 1;
    if (i + n > s.size())
        n = 1;
    c = n == 1 ? b : char32_t(b & (0x7F >> n));
    for (size_t k = 1; k < n; ++k)
        c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    return n;
}

// Names are ASCII letters, digits and _, and Chinese characters; full-width signs
// and punctuation end them.
bool is_name_char(char32_t c) {
    return (c < 0x80 && (std::isalnum(int(c)) || c == '_')) || (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF);
}

// Flow lines carry calls in their conditions: the part after the keyword.
const char* const flow_keywords[] = {".如果真",     ".如果",       ".判断开始",   ".判断",
                                     ".计次循环首", ".判断循环首", ".循环判断尾", ".变量循环首"};

// Arguments between the parenthesis at open and its match: top-level commas + 1, or
// 0 for "()". Text literals were blanked out before.
int count_arguments(const std::string& s, size_t open) {
    int depth = 0, commas = 0;
    bool content = false;
    for (size_t i = open; i < s.size(); ++i) {
        char c = s[i];
        if (c == '(' || c == '{' || c == '[') {
            content = content || depth > 0;
            ++depth;
        } else if (c == ')' || c == '}' || c == ']') {
            if (--depth == 0)
                break;
            content = true;
        } else if (c == ',' && depth == 1) {
            ++commas;
        } else if (c != ' ') {
            content = true;
        }
    }
    return commas > 0 ? commas + 1 : (content ? 1 : 0);
}

std::string without_literals(const std::string& line) {
    std::string out;
    bool in_text = false;
    for (size_t i = 0; i < line.size();) {
        if (line.compare(i, 3, "“") == 0) {
            in_text = true;
            out += '"';
            i += 3;
        } else if (in_text && line.compare(i, 3, "”") == 0) {
            in_text = false;
            out += '"';
            i += 3;
        } else {
            out += in_text ? 'x' : line[i];
            ++i;
        }
    }
    return out;
}

}  // namespace

std::vector<Call> calls_in(const std::string& text) {
    std::vector<Call> calls;
    std::vector<std::string> lines = lines_of(text);
    for (size_t n = 0; n < lines.size(); ++n) {
        std::string line = lines[n];
        size_t indent = line.find_first_not_of(' ');
        if (indent == std::string::npos)
            continue;
        line.erase(0, indent);
        if (line[0] == '\'')
            continue;
        if (line[0] == '.') {
            std::string keyword = line.substr(0, line.find(' '));
            bool flow = false;
            for (const char* k : flow_keywords)
                flow = flow || keyword == k;
            if (!flow)
                continue;
            line.erase(0, keyword.size());
        }
        line = without_literals(line);
        for (size_t i = 0; i < line.size();) {
            char32_t c;
            size_t len = decode(line, i, c);
            if (!is_name_char(c)) {
                i += len;
                continue;
            }
            size_t start = i;
            while (i < line.size() && is_name_char((decode(line, i, c), c)))
                i += decode(line, i, c);
            std::string name = line.substr(start, i - start);
            char before = start > 0 ? line[start - 1] : ' ';
            // 且 and 或 are operators: a bracket after them groups, it calls nothing.
            if (std::isdigit(static_cast<unsigned char>(name[0])) || before == '.' || before == '#' || name == "且" ||
                name == "或")
                continue;
            if (before == '&') {
                calls.push_back({int(n) + 1, name, 0, true});
                continue;
            }
            size_t open = i;
            if (open < line.size() && line[open] == ' ')
                ++open;
            if (open < line.size() && line[open] == '(')
                calls.push_back({int(n) + 1, name, count_arguments(line, open), false});
        }
    }
    return calls;
}

std::optional<std::map<std::string, Arity>> read_core_commands(const std::string& path) {
    std::ifstream in(path);
    if (!in)
        return std::nullopt;
    std::map<std::string, Arity> commands;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string name, least, most;
        if (line.empty() || line[0] == '#' || !(words >> name >> least >> most))
            continue;
        commands[name] = Arity{std::stoi(least), most == "*" ? -1 : std::stoi(most)};
    }
    return commands;
}

std::map<std::string, Arity> callable_in(const SourceInfo& info) {
    std::map<std::string, Arity> callable;
    for (const Routine& r : info.routine_list)
        callable[r.name] = Arity{r.required, r.parameters};
    for (const DllCommand& d : info.dll_commands)
        callable[d.name] = Arity{int(d.parameters.size()), int(d.parameters.size())};
    return callable;
}

Findings check_calls(const std::string& text, const CallContext& context) {
    Findings findings;
    for (const Call& call : calls_in(text)) {
        const Arity* arity = nullptr;
        if (auto d = context.declared.find(call.name); d != context.declared.end())
            arity = &d->second;
        else if (auto c = context.core.find(call.name); c != context.core.end() && !call.address_only)
            arity = &c->second;
        if (!arity) {
            if (!context.unknown_allowed)
                findings.push_back(
                    {call.line,
                     call.name + (call.address_only
                                      ? " is not a routine declared here"
                                      : " is called but not declared here, not a core command and not in a named entry")});
            continue;
        }
        if (call.address_only)
            continue;
        if (arity->most >= 0 && call.arguments > arity->most)
            findings.push_back({call.line, call.name + " takes at most " + std::to_string(arity->most) +
                                               " arguments, the call passes " + std::to_string(call.arguments)});
        else if (call.arguments < arity->least)
            findings.push_back({call.line, call.name + " needs " + std::to_string(arity->least) + " arguments, the call passes " +
                                               std::to_string(call.arguments)});
    }
    return findings;
}

}  // namespace checker
