#include "dll_exports.h"

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace checker {

void add_nm_symbol(std::map<std::string, Export>& exports, const std::string& symbol) {
    // i686 C symbols carry a leading underscore; stdcall ones end in @N.
    if (symbol.size() < 2 || symbol[0] != '_' || symbol.compare(0, 7, "__imp__") == 0)
        return;
    std::string name = symbol.substr(1);
    size_t at = name.rfind('@');
    if (at != std::string::npos && at + 1 < name.size() && name.find_first_not_of("0123456789", at + 1) == std::string::npos)
        exports[name.substr(0, at)] = Export{true, std::stoi(name.substr(at + 1))};
    else if (!exports.count(name))
        exports[name] = Export{false, 0};
}

void add_nm_line(std::map<std::string, Export>& exports, const std::string& kind, const std::string& symbol) {
    if (kind == "T") {
        add_nm_symbol(exports, symbol);
        return;
    }
    const std::string slot = "__imp_";
    if (kind != "I" || symbol.compare(0, slot.size(), slot) != 0)
        return;
    std::string thunk = symbol.substr(slot.size());  // "_Name@N"
    size_t at = thunk.rfind('@');
    bool decorated =
        at != std::string::npos && at + 1 < thunk.size() && thunk.find_first_not_of("0123456789", at + 1) == std::string::npos;
    if (decorated && !exports.count(thunk.substr(1, at - 1)))
        add_nm_symbol(exports, thunk);
}

std::optional<std::map<std::string, Export>> read_export_list(const std::string& path) {
    std::ifstream in(path);
    if (!in)
        return std::nullopt;
    std::map<std::string, Export> exports;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string name;
        int bytes = 0;
        if (line.empty() || line[0] == '#' || !(words >> name >> bytes))
            continue;
        exports[name] = Export{true, bytes};
    }
    return exports;
}

const std::map<std::string, Export>* ImportLibraryExports::exports_of(const std::string& dll) {
    if (auto found = loaded_.find(dll); found != loaded_.end())
        return &found->second;
    if (missing_.count(dll))
        return nullptr;
    std::string library = library_dir_ + "/lib" + dll + ".a";
    struct stat info;
    if (dll.find_first_of("/\\ '\"") != std::string::npos || stat(library.c_str(), &info) != 0) {
        missing_[dll] = true;
        return nullptr;
    }
    std::string command = nm_ + " -g --defined-only '" + library + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        missing_[dll] = true;
        return nullptr;
    }
    std::map<std::string, Export> exports;
    char buffer[1024];
    while (std::fgets(buffer, sizeof buffer, pipe)) {
        std::istringstream words(buffer);
        std::string address, kind, symbol;
        if (words >> address >> kind >> symbol)
            add_nm_line(exports, kind, symbol);
    }
    if (pclose(pipe) != 0 || exports.empty()) {
        missing_[dll] = true;
        return nullptr;
    }
    return &(loaded_[dll] = std::move(exports));
}

}  // namespace checker
