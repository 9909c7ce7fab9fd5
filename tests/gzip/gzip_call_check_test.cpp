// How the 32-bit suite calls GZIP.dll: with the parameter lists the catalogue's GZIP
// snippets declare, through a thunk whose checks do see a wrong `ret N` or a changed
// register.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/gzip/gzip_api_loaded.h"

extern "C" uint32_t stdcall_checked(const void* function, const uint32_t* words, uint32_t count, int32_t outcome[2]);

namespace {

std::vector<std::string> fields(const std::string& text) {
    std::vector<std::string> out;
    std::stringstream in(text);
    for (std::string field; std::getline(in, field, ',');) {
        const size_t first = field.find_first_not_of(' ');
        out.push_back(first == std::string::npos ? "" : field.substr(first));
    }
    return out;
}

// As a 32-bit caller pushes it: an address for 传址 and 数组, 8 bytes for the 8-byte
// types, one 4-byte slot for anything else.
size_t stack_bytes(const std::string& type, const std::string& attributes) {
    if (!attributes.empty())
        return 4;
    return type == "长整数型" || type == "双精度小数型" || type == "日期时间型" ? 8 : 4;
}

// Export name -> argument bytes of every .DLL命令 of GZIP.dll in a catalogue text.
std::map<std::string, size_t> declared_in(const std::filesystem::path& text) {
    std::ifstream in(text);
    EXPECT_TRUE(in) << text.string();
    std::map<std::string, size_t> declared;
    std::string line, entry;
    const std::string command = ".DLL命令 ", parameter = "    .参数 ";
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.starts_with(command)) {
            const std::vector<std::string> f = fields(line.substr(command.size()));
            entry = f.size() > 3 && f[2] == "\"GZIP.dll\"" ? f[3].substr(1, f[3].size() - 2) : "";
            if (!entry.empty())
                declared[entry] = 0;
        } else if (line.starts_with(parameter) && !entry.empty()) {
            const std::vector<std::string> f = fields(line.substr(parameter.size()));
            declared[entry] += stack_bytes(f.size() > 1 ? f[1] : "", f.size() > 2 ? f[2] : "");
        } else {
            entry.clear();
        }
    }
    return declared;
}

TEST(CallCheck, TheCatalogueSnippetsDeclareWhatTheSuitePushes) {
    const std::filesystem::path gzip = std::filesystem::path(CATALOGUE_TEXTS) / u8"网页" / "GZIP";
    std::map<std::string, size_t> declared = declared_in(gzip / u8"压缩.txt");
    declared.merge(declared_in(gzip / u8"解压.txt"));
    // The snippets declare these; Compress2 and the Reset functions they do not use.
    for (const char* name :
         {"InitCompression", "CreateCompression", "Compress", "DestroyCompression", "DeInitCompression", "InitDecompression",
          "CreateDecompression", "Decompress", "DestroyDecompression", "DeInitDecompression"}) {
        EXPECT_TRUE(declared.contains(name)) << name << " is not declared by the snippets";
    }
    for (const gziptest::Prototype& p : gziptest::prototypes()) {
        if (auto d = declared.find(p.name); d != declared.end()) {
            EXPECT_EQ(d->second, p.argument_bytes) << p.name;
        }
    }
}

int32_t __stdcall add_pops_eight(int32_t a, int32_t b) {
    return a + b;
}
int32_t __cdecl subtract_pops_nothing(int32_t a, int32_t b) {
    return a - b;
}
// Takes one word, returns 3 with ret 4, and leaves a different value in esi.
__attribute__((naked)) void changes_esi() {
    asm("movl $0x5A5A5A5A, %esi\n\tmovl $3, %eax\n\tret $4");
}

TEST(CallCheck, SeesArgumentsLeftOnTheStackAndAChangedRegister) {
    const uint32_t words[] = {9, 2, 7};
    const struct {
        const char* what;
        const void* function;
        uint32_t count;
        uint32_t result;
        int32_t left_on_stack;
        int32_t changed_register;
    } cases[] = {
        {"stdcall with its own arguments", reinterpret_cast<const void*>(&add_pops_eight), 2, 11, 0, 0},
        {"cdecl, which pops nothing", reinterpret_cast<const void*>(&subtract_pops_nothing), 2, 7, 8, 0},
        {"stdcall given a word more than it pops", reinterpret_cast<const void*>(&add_pops_eight), 3, 11, 4, 0},
        {"a change of esi", reinterpret_cast<const void*>(&changes_esi), 1, 3, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        int32_t outcome[2] = {-1, -1};
        EXPECT_EQ(stdcall_checked(c.function, words, c.count, outcome), c.result);
        EXPECT_EQ(outcome[0], c.left_on_stack);
        EXPECT_EQ(outcome[1], c.changed_register);
    }
}

}  // namespace
