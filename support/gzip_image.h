// The bytes of the 32-bit GZIP.dll that the program writes out as a support file. The
// build compiles the DLL from support/gzip/ and embeds it here; nothing is read at run time.
#pragma once

#include <span>

namespace support {

std::span<const unsigned char> gzip_dll_image();

}  // namespace support
