// The values that the Windows SDK headers of the cross toolchain give constant names.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace checker {

// Compiles one generated C file that names every constant, with the given C compiler
// (a mingw-w64 gcc), and reads the values back from the assembly it writes. Names the
// headers do not define are missing from the result. error is set when the compiler
// could not be run.
std::map<std::string, int64_t> sdk_values(const std::string& compiler, const std::vector<std::string>& names, std::string& error);

}  // namespace checker
