// The conversion of a config.ini value: any text a hand may have written. A value is
// the number of a plain decimal 32-bit integer (an optional minus, then digits only),
// and anything else is missing.
#include <climits>
#include <cstdint>
#include <optional>
#include <string_view>

#include "fuzz_check.h"
#include "settings/geometry_file.h"

namespace {

// The same rule worked out digit by digit, away from the conversion under test.
std::optional<int> plain_decimal(std::string_view text) {
    bool negative = !text.empty() && text[0] == '-';
    std::string_view digits = text.substr(negative ? 1 : 0);
    if (digits.empty())
        return std::nullopt;
    int64_t magnitude = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > int64_t(INT_MAX) + 1)
            return std::nullopt;
    }
    int64_t value = negative ? -magnitude : magnitude;
    if (value > INT_MAX)
        return std::nullopt;
    return int(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    FUZZ_CHECK(settings::parse_value(text) == plain_decimal(text));
    return 0;
}
