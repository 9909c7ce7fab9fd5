// Conversion between UTF-8 (the repository's source texts) and GBK (code page 936,
// the catalogue's encoding). Used by the host tools only; the program itself never
// converts catalogue text except in the Win32 GUI layer.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace gbk {

// Where a UTF-8 text could not be converted: the 0-based byte offset of the first
// character that has no GBK form (or is not valid UTF-8).
struct ConversionError {
    size_t offset;
};

struct Converted {
    std::string text;
    std::optional<ConversionError> error;
};

Converted from_utf8(std::string_view utf8);
Converted to_utf8(std::string_view gbk_text);

}  // namespace gbk
