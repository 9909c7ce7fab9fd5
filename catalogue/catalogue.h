// The compiled-in catalogue: tree items, snippet records and search keys.
// Everything here is constant data built from catalogue/manifest.txt and the texts
// under catalogue/texts/; nothing allocates and nothing can fail.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace catalogue {

// A GBK byte string with CR LF line ends; sizes count bytes.
using Text = std::string_view;

enum class AttachmentKind : uint32_t {
    none = 0,
    global_variables = 1,
    constants_table = 2,
    companion_snippet = 3,
    required_entries = 4,
    support_file = 5,
};

struct TreeItem {
    Text caption;
    uint32_t level;         // 1 category, 2 entry, 3 sub-entry
    uint32_t entry_number;  // 0 for categories and group entries
};

struct SnippetRecord {
    uint32_t entry_number;
    Text snippet;
    AttachmentKind attachment_kind;
    Text attachment;  // empty when the kind is none
};

struct SearchKey {
    Text key;  // entry name, " - ", category name
    uint32_t tree_position;
};

// The tree items in display order; an item's index is its tree position.
std::span<const TreeItem> tree_items();

// The entry number stored with the item at a tree position; 0 for categories,
// group entries and positions past the end.
uint32_t entry_number_at(size_t tree_position);

// The record carrying an entry number, or nullptr when none does (0, the numbers
// that were never given, and anything above the highest).
const SnippetRecord* snippet_record(uint32_t entry_number);

// All records in entry-number order.
std::span<const SnippetRecord> snippet_records();

// One key per entry in catalogue order, each with the tree position it selects.
std::span<const SearchKey> search_keys();

// Cuts a text at every occurrence of a separator, scanning from the left and
// consuming each occurrence whole. A text ending with the separator yields an
// empty last piece; an empty text yields one empty piece.
class Splitter {
  public:
    constexpr Splitter(Text text, Text separator) : rest_(text), separator_(separator) {}

    // Stores the next piece and returns true, or returns false when all are taken.
    constexpr bool next(Text& piece) {
        if (done_)
            return false;
        size_t at = rest_.find(separator_);
        if (at == Text::npos) {
            piece = rest_;
            done_ = true;
        } else {
            piece = rest_.substr(0, at);
            rest_.remove_prefix(at + separator_.size());
        }
        return true;
    }

  private:
    Text rest_;
    Text separator_;
    bool done_ = false;
};

// A constants table is rows separated by CR LF, each row fields separated by "--".
constexpr Splitter table_rows(Text table) {
    return Splitter(table, "\r\n");
}
constexpr Splitter row_fields(Text row) {
    return Splitter(row, "--");
}

}  // namespace catalogue
