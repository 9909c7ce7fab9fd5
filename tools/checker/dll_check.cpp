#include "dll_check.h"

#include <algorithm>
#include <cctype>

namespace checker {

namespace {

// What the language searches when a .DLL命令 names no library.
const char* const default_libraries[] = {"kernel32", "gdi32", "user32", "mpr", "advapi32"};

// The language can take only these return types back from a DLL.
const char* const return_types[] = {"", "字节型", "短整数型", "整数型", "逻辑型", "文本型"};

}  // namespace

std::string library_key(std::string library) {
    std::transform(library.begin(), library.end(), library.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (library.size() > 4 && library.compare(library.size() - 4, 4, ".dll") == 0)
        library.resize(library.size() - 4);
    return library;
}

int stack_bytes(const DllParameter& parameter) {
    if (!parameter.attributes.empty())
        return 4;  // 传址 and 数组 pass an address
    const std::string& t = parameter.type;
    if (t == "长整数型" || t == "双精度小数型" || t == "日期时间型")
        return 8;
    if (t == "通用型")
        return -1;
    return 4;  // numbers up to 4 bytes widen to a slot; texts, byte sets and data types go by address
}

Findings check_dll_commands(const SourceInfo& info, ExportTables& exports, int& verified) {
    Findings findings;
    for (const DllCommand& command : info.dll_commands) {
        auto find = [&](int line, const std::string& reason) { findings.push_back({line, reason}); };
        if (std::find(std::begin(return_types), std::end(return_types), command.return_type) == std::end(return_types)) {
            find(command.line, "a DLL cannot return " + command.return_type + " to the language");
            continue;
        }
        std::string entry = command.entry.empty() ? command.name : command.entry;
        if (entry.empty() || entry[0] == '#') {
            find(command.line, "entry point " + entry + " cannot be verified");
            continue;
        }
        std::vector<std::string> libraries;
        if (command.library.empty())
            libraries.assign(std::begin(default_libraries), std::end(default_libraries));
        else
            libraries.push_back(library_key(command.library));
        const Export* found = nullptr;
        std::string found_in;
        bool unresolved = false;
        for (const std::string& library : libraries) {
            const std::map<std::string, Export>* table = exports.exports_of(library);
            if (!table) {
                find(command.line, "library " + library + " cannot be resolved");
                unresolved = true;
                break;
            }
            if (auto e = table->find(entry); e != table->end()) {
                found = &e->second;
                found_in = library;
                break;
            }
        }
        if (unresolved)
            continue;
        if (!found) {
            find(command.line, entry + " is not an export of " +
                                   (command.library.empty() ? "kernel32, gdi32, user32, mpr or advapi32" : libraries[0]));
            continue;
        }
        if (!found->stdcall) {
            ++verified;  // cdecl: only its existence can be checked
            continue;
        }
        int total = 0;
        bool sized = true;
        for (const DllParameter& parameter : command.parameters) {
            int bytes = stack_bytes(parameter);
            if (bytes < 0) {
                find(parameter.line, "type " + parameter.type + " has no fixed size as a DLL parameter");
                sized = false;
            }
            total += bytes;
        }
        if (!sized)
            continue;
        if (total != found->stack_bytes)
            find(command.line, entry + " in " + found_in + " takes " + std::to_string(found->stack_bytes) +
                                   " bytes of arguments (@" + std::to_string(found->stack_bytes) +
                                   "), the parameters add up to " + std::to_string(total));
        else
            ++verified;
    }
    return findings;
}

}  // namespace checker
