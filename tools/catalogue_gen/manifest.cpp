#include "manifest.h"

#include <sstream>

namespace manifest {

namespace {

const char* const kind_words[] = {"", "globals", "table", "companion", "note", "support"};

std::vector<std::string> words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> out;
    for (std::string w; in >> w;)
        out.push_back(w);
    return out;
}

std::vector<std::string> split_bars(const std::string& s) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t bar; (bar = s.find('|', start)) != std::string::npos; start = bar + 1)
        parts.push_back(s.substr(start, bar - start));
    parts.push_back(s.substr(start));
    return parts;
}

bool parse_number(const std::string& s, uint32_t& out) {
    if (s.empty() || s.size() > 6 || s.find_first_not_of("0123456789") != std::string::npos)
        return false;
    out = uint32_t(std::stoul(s));
    return true;
}

class Parser {
  public:
    explicit Parser(std::string file_name) : file_name_(std::move(file_name)) {}

    void line(int number, const std::string& text) {
        line_ = number;
        size_t first = text.find_first_not_of(' ');
        if (first == std::string::npos || text[first] == '#')
            return;
        std::vector<std::string> parts = split_bars(text);
        std::vector<std::string> head = words(parts[0]);
        const std::string& kind = head[0];
        if (kind == "category")
            category(head, parts.size());
        else if (kind == "group")
            group(head, parts.size());
        else if (kind == "entry" || kind == "sub")
            entry(kind == "sub", head, parts);
        else
            error("unknown line kind '" + kind + "'");
    }

    ParseResult finish() { return std::move(result_); }

  private:
    void error(const std::string& reason) { result_.errors.push_back(file_name_ + ":" + std::to_string(line_) + ": " + reason); }

    Item& add(uint32_t level, const std::string& name) {
        Item item;
        item.level = level;
        item.name = name;
        item.manifest_line = line_;
        result_.manifest.items.push_back(item);
        return result_.manifest.items.back();
    }

    void category(const std::vector<std::string>& head, size_t parts) {
        uint32_t count = 0;
        if (head.size() != 3 || parts != 1 || !parse_number(head[2], count))
            return error("expected: category NAME COUNT");
        add(1, head[1]).stored_count = count;
        in_group_ = false;
    }

    void group(const std::vector<std::string>& head, size_t parts) {
        if (head.size() != 2 || parts != 1)
            return error("expected: group NAME");
        if (!have_category())
            return;
        add(2, head[1]).is_group = true;
        in_group_ = true;
    }

    void entry(bool is_sub, const std::vector<std::string>& head, const std::vector<std::string>& parts) {
        uint32_t number = 0;
        if (head.size() != 3 || !parse_number(head[1], number) || number == 0)
            return error("expected: entry N NAME | SNIPPET [| KIND ATTACHMENT]");
        if (!have_category())
            return;
        if (is_sub && !in_group_)
            return error("sub-entry outside a group");
        if (!is_sub)
            in_group_ = false;
        Item& item = add(is_sub ? 3 : 2, head[2]);
        item.entry_number = number;
        std::vector<std::string> snippet = parts.size() > 1 ? words(parts[1]) : std::vector<std::string>{};
        if (snippet.size() == 1 && snippet[0] == "same" && parts.size() == 2) {
            item.shares_previous_record = true;
            return;
        }
        if (parts.size() < 2 || parts.size() > 3)
            return error("an entry names its snippet file and at most one attachment");
        item.snippet = text_ref(snippet);
        if (parts.size() == 3) {
            std::vector<std::string> attachment = words(parts[2]);
            for (uint32_t k = 1; k <= 5 && !attachment.empty(); ++k)
                if (attachment[0] == kind_words[k])
                    item.attachment_kind = k;
            if (item.attachment_kind == 0)
                return error("attachment kind must be globals, table, companion, note or support");
            attachment.erase(attachment.begin());
            item.attachment = text_ref(attachment);
        }
    }

    std::optional<TextRef> text_ref(const std::vector<std::string>& w) {
        if (w.empty() || w.size() > 2 || (w.size() == 2 && w[1] != "crlf")) {
            error("expected a text path, optionally followed by crlf");
            return std::nullopt;
        }
        return TextRef{w[0], w.size() == 2, line_};
    }

    bool have_category() {
        if (result_.manifest.items.empty())
            error("entry before the first category");
        return !result_.manifest.items.empty();
    }

    std::string file_name_;
    int line_ = 0;
    bool in_group_ = false;
    ParseResult result_;
};

}  // namespace

ParseResult parse(const std::string& content, const std::string& file_name) {
    Parser parser(file_name);
    std::istringstream in(content);
    int number = 0;
    for (std::string text; std::getline(in, text);) {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        parser.line(++number, text);
    }
    return parser.finish();
}

}  // namespace manifest
