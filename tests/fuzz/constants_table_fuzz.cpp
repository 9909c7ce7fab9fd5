// The constants-table splitter on any text: rows at every CR LF, and each row's fields
// at every "--". Cutting loses nothing and cuts at each separator from the left: the
// pieces joined with the separator give the text back, no piece holds the separator,
// and each piece but the last is followed by the separator's first occurrence.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue.h"
#include "fuzz_check.h"

namespace {

std::vector<std::string_view> cut(std::string_view text, catalogue::Splitter splitter) {
    std::vector<std::string_view> pieces;
    for (std::string_view piece; splitter.next(piece);) {
        pieces.push_back(piece);
        FUZZ_CHECK(pieces.size() <= text.size() + 1);  // a splitter that never ends
    }
    std::string_view after_the_end;
    FUZZ_CHECK(!splitter.next(after_the_end));
    return pieces;
}

void check_cut(std::string_view text, std::string_view separator, const std::vector<std::string_view>& pieces) {
    FUZZ_CHECK(!pieces.empty());
    std::string joined;
    for (size_t i = 0; i < pieces.size(); ++i) {
        FUZZ_CHECK(pieces[i].find(separator) == std::string_view::npos);
        if (i + 1 < pieces.size()) {
            std::string cut_here = std::string(pieces[i]) + std::string(separator);
            FUZZ_CHECK(cut_here.find(separator) == pieces[i].size());
        }
        if (i > 0)
            joined += separator;
        joined += pieces[i];
    }
    FUZZ_CHECK(joined == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view table(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> rows = cut(table, catalogue::table_rows(table));
    check_cut(table, "\r\n", rows);
    for (std::string_view row : rows)
        check_cut(row, "--", cut(row, catalogue::row_fields(row)));
    return 0;
}
