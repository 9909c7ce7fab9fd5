#include "sdk_values.h"

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace checker {

namespace {

// Names are pasted into C source: only identifiers may pass.
bool is_identifier(const std::string& name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0])))
        return false;
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_')
            return false;
    return true;
}

const long long undefined_marker = 0x7EADBEEF00000001LL;

}  // namespace

std::map<std::string, int64_t> sdk_values(const std::string& compiler, const std::vector<std::string>& names,
                                          std::string& error) {
    std::map<std::string, int64_t> values;
    std::vector<std::string> asked;
    for (const std::string& name : names)
        if (is_identifier(name))
            asked.push_back(name);
    if (asked.empty())
        return values;

    char dir[] = "/tmp/catalogue-sdk-XXXXXX";
    if (!mkdtemp(dir)) {
        error = "cannot create a temporary folder";
        return values;
    }
    std::string source = std::string(dir) + "/values.c", assembly = std::string(dir) + "/values.s";
    {
        // The catalogue is for ANSI programs: no UNICODE, so TVM_INSERTITEM is the A form.
        std::ofstream out(source);
        out << "#define WINVER 0x0A00\n#define _WIN32_WINNT 0x0A00\n#define _WIN32_IE 0x0A00\n"
               "#include <windows.h>\n#include <commctrl.h>\n#include <richedit.h>\n"
               "const long long values[] = {\n";
        for (const std::string& name : asked)
            out << "#ifdef " << name << "\n    (long long)(" << name << "),\n#else\n    " << undefined_marker << "LL,\n#endif\n";
        out << "};\n";
    }
    std::string command = compiler + " -x c -S -o '" + assembly + "' '" + source + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buffer[512];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    if (!pipe || pclose(pipe) != 0) {
        error = "the compiler failed: " + command + "\n" + output;
    } else {
        std::ifstream in(assembly);
        size_t index = 0;
        for (std::string line; std::getline(in, line) && index < asked.size();) {
            std::istringstream words(line);
            std::string directive;
            long long value = 0;
            if (words >> directive >> value && directive == ".quad") {
                if (value != undefined_marker)
                    values[asked[index]] = value;
                ++index;
            }
        }
        if (index != asked.size())
            error = "the compiler's assembly holds " + std::to_string(index) + " of " + std::to_string(asked.size()) + " values";
    }
    std::remove(source.c_str());
    std::remove(assembly.c_str());
    rmdir(dir);
    return values;
}

}  // namespace checker
