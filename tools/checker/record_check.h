// All rules for one snippet record.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "attachment_form.h"
#include "calls.h"
#include "dll_exports.h"
#include "finding.h"
#include "source_form.h"

namespace checker {

struct Counts {
    int texts = 0;         // distinct texts checked
    int dll_commands = 0;  // .DLL命令 lines verified against their export table
    int table_rows = 0;    // constants-table rows verified
    int calls = 0;         // calls checked by the completeness rule
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
    SourceInfo snippet_info;
    SourceInfo companion_info;  // when the attachment is a companion snippet
};

struct CheckContext {
    ExportTables& exports;
    const std::map<std::string, int64_t>& sdk_values;
    const std::map<std::string, ConfigItem>& config_items;
    Counts& counts;
};

RecordFindings check_record(const RecordTexts& record, CheckContext& context, bool count_snippet, bool count_attachment);

// The completeness rule over a record's snippet and companion snippet, which are
// pasted together: calls resolve against both, the core commands, and the
// declarations of the entries the record names.
void check_record_calls(const RecordTexts& record, RecordFindings& found, const CallContext& context);

}  // namespace checker
