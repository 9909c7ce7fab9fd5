// Which files under catalogue/texts/ each record's texts came from. Linked into the
// host tools only, so that their reports name the file to edit.
#pragma once

#include <cstddef>
#include <cstdint>

namespace catalogue {

struct RecordSources {
    uint32_t entry_number;
    const char* snippet_path;
    const char* attachment_path;  // "" when the record has no attachment
};

extern const RecordSources record_sources[];  // in entry-number order, as the records
extern const size_t record_sources_count;

}  // namespace catalogue
