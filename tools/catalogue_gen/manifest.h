// The catalogue manifest: the tree in display order and, for each item with a
// record, the files that hold its texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace manifest {

struct TextRef {
    std::string path;  // relative to catalogue/texts/
    bool ends_with_crlf = false;
    int manifest_line = 0;
};

struct Item {
    uint32_t level = 0;         // 1 category, 2 entry, 3 sub-entry
    std::string name;           // UTF-8
    uint32_t stored_count = 0;  // categories only
    uint32_t entry_number = 0;  // 0 for categories and group entries
    bool is_group = false;
    bool shares_previous_record = false;
    std::optional<TextRef> snippet;
    uint32_t attachment_kind = 0;
    std::optional<TextRef> attachment;
    int manifest_line = 0;
};

struct Manifest {
    std::vector<Item> items;
};

struct ParseResult {
    Manifest manifest;
    std::vector<std::string> errors;  // "manifest.txt:LINE: reason"
};

ParseResult parse(const std::string& content, const std::string& file_name);

}  // namespace manifest
