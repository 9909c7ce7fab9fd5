// The tables that the catalogue generator emits; read only through catalogue.h.
#pragma once

#include <cstdint>

#include "catalogue.h"

namespace catalogue::data {

extern const TreeItem tree_items[];
extern const size_t tree_item_count;

extern const SnippetRecord records[];  // in entry-number order
extern const size_t record_count;

// Index into records for each entry number from 0 to highest_entry_number; -1 where
// no record carries the number.
extern const int16_t record_index_by_number[];
extern const uint32_t highest_entry_number;

extern const SearchKey search_keys[];
extern const size_t search_key_count;

}  // namespace catalogue::data
