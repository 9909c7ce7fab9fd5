// Writes the catalogue as C++ constant data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace emit {

struct Item {
    std::string caption;  // GBK
    uint32_t level;
    uint32_t entry_number;
};

struct Record {
    uint32_t entry_number;
    size_t snippet;  // index into texts
    uint32_t attachment_kind;
    size_t attachment;  // index into texts; ignored for kind 0
};

struct Key {
    std::string key;  // GBK
    uint32_t tree_position;
};

struct Catalogue {
    std::vector<Item> items;
    std::vector<Record> records;  // in entry-number order
    std::vector<Key> keys;
    std::vector<std::string> texts;       // GBK, each distinct text once
    std::vector<std::string> text_paths;  // source file of each text, for the tools
};

// The data behind catalogue.h.
std::string data_source(const Catalogue& catalogue);

// Which source files each record's texts came from, for the checker's reports.
std::string sources_source(const Catalogue& catalogue);

}  // namespace emit
