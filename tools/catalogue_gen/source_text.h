// Turns one UTF-8 source file into catalogue text: GBK with CR LF line ends.
#pragma once

#include <string>

namespace source_text {

struct Converted {
    std::string gbk;
    std::string error;  // "LINE:COLUMN: reason", empty on success
};

// utf8 is the file's content. The file's final newline is not part of the text
// unless keep_final_line_end is set, in which case the file must end with one.
Converted convert(const std::string& utf8, bool keep_final_line_end);

}  // namespace source_text
