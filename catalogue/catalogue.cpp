#include "catalogue.h"

#include "catalogue_data.h"

namespace catalogue {

std::span<const TreeItem> tree_items() {
    return {data::tree_items, data::tree_item_count};
}

uint32_t entry_number_at(size_t tree_position) {
    return tree_position < data::tree_item_count ? data::tree_items[tree_position].entry_number : 0;
}

const SnippetRecord* snippet_record(uint32_t entry_number) {
    if (entry_number > data::highest_entry_number)
        return nullptr;
    int16_t index = data::record_index_by_number[entry_number];
    return index < 0 ? nullptr : &data::records[index];
}

std::span<const SnippetRecord> snippet_records() {
    return {data::records, data::record_count};
}

std::span<const SearchKey> search_keys() {
    return {data::search_keys, data::search_key_count};
}

}  // namespace catalogue
