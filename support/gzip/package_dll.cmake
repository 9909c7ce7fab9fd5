# Build step after GZIP.dll is linked: checks its export names, writes gzip.exports
# ("Name bytes" per export, for the catalogue checker) and a C++ source holding the
# DLL's bytes.
#   cmake -DOBJDUMP=... -DDLL=... -DEXPORTS_FILE=... -DIMAGE_CPP=... -P package_dll.cmake
cmake_minimum_required(VERSION 3.25)
include("${CMAKE_CURRENT_LIST_DIR}/gzip_exports.cmake")

gzip_dll_read_exports("${OBJDUMP}" "${DLL}" names rvas)
gzip_dll_require_exports("${DLL}" "${names}")

set(lines "")
foreach(name IN LISTS names)
  list(FIND GZIP_DLL_EXPORTS "${name}" at)
  math(EXPR at "${at} + 1")
  list(GET GZIP_DLL_EXPORTS ${at} bytes)
  string(APPEND lines "${name} ${bytes}\n")
endforeach()
file(WRITE "${EXPORTS_FILE}" "${lines}")

file(READ "${DLL}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REPEAT "[0-9a-f]" 32 line_of_hex)
string(REGEX REPLACE "(${line_of_hex})" "\\1\n" hex "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${IMAGE_CPP}" "// Generated from GZIP.dll by support/gzip/package_dll.cmake.
#include \"support/gzip_image.h\"

namespace support {
namespace {
const unsigned char image[${size}] = {
${bytes}};
}  // namespace

std::span<const unsigned char> gzip_dll_image() { return image; }

}  // namespace support
")
