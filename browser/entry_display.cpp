#include "entry_display.h"

#include <string>

#include "browser_controls.h"
#include "support/support_offer.h"

namespace browser {

void display_entry(gui::WindowId browser, Viewers& viewers) {
    std::optional<uint32_t> number = gui::tree_selected_value(browser, 树型框1);
    // Categories and group entries carry 0, which no record has: nothing changes.
    const catalogue::SnippetRecord* record = number ? catalogue::snippet_record(*number) : nullptr;
    if (record)
        show_record(browser, viewers, *record);
}

void show_record(gui::WindowId browser, Viewers& v, const catalogue::SnippetRecord& record) {
    v.code.open_if_closed();
    v.code.set_text(record.snippet);

    // Attachment windows close in one fixed order: global variables, constants, second code.
    using Kind = catalogue::AttachmentKind;
    switch (record.attachment_kind) {
        case Kind::none:
            v.global_variables.close_if_open();
            v.constants.close_if_open();
            v.second_code.close_if_open();
            break;
        case Kind::global_variables:
            v.constants.close_if_open();
            v.second_code.close_if_open();
            v.global_variables.open_if_closed();
            v.global_variables.set_text(record.attachment);
            break;
        case Kind::constants_table:
            v.global_variables.close_if_open();
            v.second_code.close_if_open();
            v.constants.open_if_closed();
            v.constants.fill(record.attachment);
            break;
        case Kind::companion_snippet:
            v.global_variables.close_if_open();
            v.constants.close_if_open();
            v.second_code.open_if_closed();
            v.second_code.set_text(record.attachment);
            break;
        case Kind::required_entries:
            v.global_variables.close_if_open();
            v.constants.close_if_open();
            v.second_code.close_if_open();
            gui::message_box(browser, "本命令需要 " + std::string(record.attachment) + " 才能使用。", "温馨提示",
                             gui::Buttons::ok);
            break;
        case Kind::support_file:
            v.global_variables.close_if_open();
            v.constants.close_if_open();
            v.second_code.close_if_open();
            support::offer_support_file(browser, record.attachment);
            break;
    }
}

}  // namespace browser
