#include "record_check.h"

#include "attachment_form.h"
#include "dll_check.h"
#include "source_form.h"

namespace checker {

namespace {

void append(Findings& to, const Findings& from) {
    to.insert(to.end(), from.begin(), from.end());
}

// The same rules for a snippet and a companion snippet.
Findings check_source(const std::string& text, SourceInfo& info, CheckContext& context, bool count) {
    Findings findings = check_source_form(text, info);
    append(findings, check_types(info));
    int verified = 0;
    append(findings, check_dll_commands(info, context.exports, verified));
    if (count)
        context.counts.dll_commands += verified;
    return findings;
}

}  // namespace

RecordFindings check_record(const RecordTexts& record, CheckContext& context, bool count_snippet, bool count_attachment) {
    RecordFindings out;
    SourceInfo& snippet = out.snippet_info;
    out.snippet = check_source(record.snippet, snippet, context, count_snippet);
    context.counts.texts += count_snippet;
    context.counts.texts += count_attachment;
    int rows = 0;
    switch (record.attachment_kind) {
        case 1:
            out.attachment = check_global_variables(record.attachment, snippet, record.snippet);
            break;
        case 2:
            if (lines_of(record.attachment)[0] == config_table_title)
                out.attachment = check_config_table(record.attachment, context.config_items, rows);
            else
                out.attachment = check_message_table(record.attachment, context.sdk_values, rows);
            break;
        case 3:
            out.attachment = check_source(record.attachment, out.companion_info, context, count_attachment);
            break;
        case 4:
            out.attachment = check_required_entries(record.attachment);
            break;
        case 5:
            out.attachment = check_support_file_name(record.attachment);
            break;
    }
    if (count_attachment)
        context.counts.table_rows += rows;
    return out;
}

void check_record_calls(const RecordTexts& record, RecordFindings& found, const CallContext& context) {
    CallContext own = context;
    for (const SourceInfo* info : {&found.snippet_info, &found.companion_info})
        for (const auto& [name, arity] : callable_in(*info))
            own.declared[name] = arity;
    append(found.snippet, check_calls(record.snippet, own));
    if (record.attachment_kind == 3)
        append(found.attachment, check_calls(record.attachment, own));
}

}  // namespace checker
