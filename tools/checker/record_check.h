// All rules for one snippet record.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "dll_exports.h"
#include "finding.h"

namespace checker {

struct Counts {
    int texts = 0;         // distinct texts checked
    int dll_commands = 0;  // .DLL命令 lines verified against their export table
    int table_rows = 0;    // constants-table rows verified
};

struct RecordTexts {
    uint32_t entry_number;
    uint32_t attachment_kind;  // as catalogue::AttachmentKind
    std::string snippet;       // UTF-8, CR LF
    std::string attachment;    // UTF-8, CR LF
};

struct RecordFindings {
    Findings snippet;
    Findings attachment;
};

struct CheckContext {
    ExportTables& exports;
    const std::map<std::string, int64_t>& sdk_values;
    Counts& counts;
};

RecordFindings check_record(const RecordTexts& record, CheckContext& context, bool count_snippet, bool count_attachment);

}  // namespace checker
