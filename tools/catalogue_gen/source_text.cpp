#include "source_text.h"

#include "tools/common/gbk.h"

namespace source_text {

namespace {

bool is_continuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// 1-based line and column (in characters) of a byte offset, and the character there.
std::string position(const std::string& text, size_t offset, const std::string& reason) {
    size_t line = 1, column = 1;
    for (size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else if (!is_continuation(static_cast<unsigned char>(text[i]))) {
            ++column;
        }
    }
    size_t end = offset + 1;
    while (end < text.size() && is_continuation(static_cast<unsigned char>(text[end])))
        ++end;
    std::string shown = text.substr(offset, end - offset);
    if (shown == "\t")
        shown = "TAB";
    else if (shown == "\r")
        shown = "CR";
    else if (shown == "\n")
        shown = "LF";
    return std::to_string(line) + ":" + std::to_string(column) + ": " + reason + " '" + shown + "'";
}

}  // namespace

Converted convert(const std::string& utf8, bool keep_final_line_end) {
    Converted out;
    bool uses_crlf = utf8.find("\r\n") != std::string::npos;
    std::string lf;  // line ends normalised to LF
    for (size_t i = 0; i < utf8.size(); ++i) {
        char c = utf8[i];
        if (c == '\t') {
            out.error = position(utf8, i, "TAB");
            return out;
        }
        if (c == '\r') {
            if (i + 1 >= utf8.size() || utf8[i + 1] != '\n') {
                out.error = position(utf8, i, "stray CR");
                return out;
            }
            continue;
        }
        if (c == '\n' && uses_crlf && (i == 0 || utf8[i - 1] != '\r')) {
            out.error = position(utf8, i, "stray LF in a file with CR LF line ends");
            return out;
        }
        lf += c;
    }
    if (keep_final_line_end) {
        if (lf.empty() || lf.back() != '\n') {
            out.error = position(lf, lf.size() > 0 ? lf.size() - 1 : 0,
                                 "the manifest says crlf but the file does not end with a line end");
            return out;
        }
    } else if (!lf.empty() && lf.back() == '\n') {
        lf.pop_back();
    }
    if (lf.empty()) {
        out.error = "1:1: empty text";
        return out;
    }
    gbk::Converted converted = gbk::from_utf8(lf);
    if (converted.error) {
        out.error = position(lf, converted.error->offset, "no GBK form for");
        return out;
    }
    for (char c : converted.text) {
        if (c == '\n')
            out.gbk += '\r';
        out.gbk += c;
    }
    return out;
}

}  // namespace source_text
