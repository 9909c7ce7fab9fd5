// catalogue_check: runs every rule over the compiled catalogue and reports each
// finding with its record, file and line. Exit code 1 when anything is found.
//
//   catalogue_check --nm NM --libdir DIR --cc CC --pending FILE --lists DIR --gzip-exports FILE

#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "attachment_form.h"
#include "calls.h"
#include "catalogue/catalogue.h"
#include "catalogue/catalogue_sources.h"
#include "one_shape.h"
#include "record_check.h"
#include "sdk_values.h"
#include "tools/common/gbk.h"

using namespace checker;

namespace {

// The one line that a record's text holds until its content is written.
const char* const placeholder = "' 本条目的代码正在编写中";

struct Options {
    std::string nm, libdir, cc, pending, lists, gzip_exports;
};

bool parse_options(int argc, char** argv, Options& o) {
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string key = argv[i], value = argv[i + 1];
        if (key == "--nm")
            o.nm = value;
        else if (key == "--libdir")
            o.libdir = value;
        else if (key == "--cc")
            o.cc = value;
        else if (key == "--pending")
            o.pending = value;
        else if (key == "--lists")
            o.lists = value;
        else if (key == "--gzip-exports")
            o.gzip_exports = value;
        else
            return false;
    }
    return argc % 2 == 1 && !o.nm.empty() && !o.libdir.empty() && !o.cc.empty() && !o.pending.empty() && !o.lists.empty() &&
           !o.gzip_exports.empty();
}

// Entry numbers at the start of each line; # starts a comment.
bool read_pending(const std::string& path, std::set<uint32_t>& pending) {
    std::ifstream in(path);
    if (!in)
        return false;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        uint32_t number = 0;
        if (!line.empty() && line[0] != '#' && words >> number)
            pending.insert(number);
    }
    return true;
}

// "USER PROVIDER" lines: a record whose snippet calls routines that another record
// declares, without a note that names it.
std::optional<std::map<uint32_t, std::vector<uint32_t>>> read_record_uses(const std::string& path) {
    std::ifstream in(path);
    if (!in)
        return std::nullopt;
    std::map<uint32_t, std::vector<uint32_t>> uses;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        uint32_t user = 0, provider = 0;
        if (!line.empty() && line[0] != '#' && words >> user >> provider)
            uses[user].push_back(provider);
    }
    return uses;
}

// Entry numbers by "类别 - 名称" as a required-entries note names them. A note may
// spell the category differently (效验 for 校验): then a name that only one entry
// bears is enough.
class EntryIndex {
  public:
    EntryIndex() {
        std::string category;
        for (const catalogue::TreeItem& item : catalogue::tree_items()) {
            std::string caption = gbk::to_utf8(item.caption).text;
            std::string name = caption.substr(caption.find(' ') + 1);
            if (item.level == 1) {
                category = name.substr(0, name.find("（"));
                continue;
            }
            if (item.entry_number == 0)
                continue;
            by_key_[category + " - " + name] = item.entry_number;
            by_name_[name].push_back(item.entry_number);
        }
    }

    std::vector<uint32_t> named_by(const std::string& note) const {
        std::vector<uint32_t> numbers;
        size_t start = 0;
        while (start < note.size()) {
            size_t end = note.find("  ", start);
            std::string key = note.substr(start, end == std::string::npos ? std::string::npos : end - start);
            if (auto k = by_key_.find(key); k != by_key_.end()) {
                numbers.push_back(k->second);
            } else {
                std::string name = key.substr(key.find(" - ") == std::string::npos ? 0 : key.find(" - ") + 3);
                auto n = by_name_.find(name);
                numbers.push_back(n != by_name_.end() && n->second.size() == 1 ? n->second[0] : 0);
            }
            if (end == std::string::npos)
                break;
            start = end + 2;
        }
        return numbers;
    }

  private:
    std::map<std::string, uint32_t> by_key_;
    std::map<std::string, std::vector<uint32_t>> by_name_;
};

class Report {
  public:
    void add(uint32_t record, const char* path, const Finding& f) {
        std::string text =
            "record " + std::to_string(record) + " (" + path + (f.line ? ":" + std::to_string(f.line) : "") + "): " + f.reason;
        if (seen_.insert(text).second)
            std::cout << text << "\n";
    }
    size_t count() const { return seen_.size(); }

  private:
    std::set<std::string> seen_;
};

std::string utf8(catalogue::Text text, bool& ok) {
    gbk::Converted converted = gbk::to_utf8(text);
    ok = !converted.error;
    return converted.text;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse_options(argc, argv, options)) {
        std::cerr << "usage: catalogue_check --nm NM --libdir DIR --cc CC --pending FILE --lists DIR --gzip-exports FILE\n";
        return 2;
    }
    std::set<uint32_t> pending;
    if (!read_pending(options.pending, pending)) {
        std::cerr << "cannot read " << options.pending << "\n";
        return 2;
    }
    ImportLibraryExports exports(options.nm, options.libdir);
    // The DLLs that are not Windows' own: the video engine's wrapper from a list kept
    // beside this tool, GZIP.dll from the export table of the one this build makes.
    const std::pair<const char*, std::string> lists[] = {{"aplayercaller", options.lists + "/aplayercaller.exports"},
                                                         {"gzip", options.gzip_exports}};
    for (const auto& [dll, path] : lists) {
        auto list = read_export_list(path);
        if (!list || list->empty()) {
            std::cerr << "cannot read the export list of " << dll << " from " << path << "\n";
            return 2;
        }
        exports.add_list(dll, *list);
    }

    Report report;
    std::vector<RecordTexts> to_check;
    std::vector<const catalogue::RecordSources*> sources;
    auto records = catalogue::snippet_records();
    std::set<uint32_t> numbers;
    for (size_t i = 0; i < records.size(); ++i) {
        const catalogue::SnippetRecord& r = records[i];
        const catalogue::RecordSources& source = catalogue::record_sources[i];
        numbers.insert(r.entry_number);
        bool ok_snippet = true, ok_attachment = true;
        RecordTexts texts{r.entry_number, uint32_t(r.attachment_kind), utf8(r.snippet, ok_snippet),
                          utf8(r.attachment, ok_attachment)};
        if (!ok_snippet || !ok_attachment) {
            report.add(r.entry_number, source.snippet_path, {0, "the text is not valid GBK"});
            continue;
        }
        bool is_placeholder = texts.snippet == placeholder;
        if (pending.count(r.entry_number)) {
            if (!is_placeholder)
                report.add(r.entry_number, source.snippet_path, {0, "written, but still listed in pending.txt"});
            continue;
        }
        if (is_placeholder || texts.attachment == placeholder) {
            report.add(r.entry_number, source.snippet_path, {0, "still a placeholder, but not listed in pending.txt"});
            continue;
        }
        to_check.push_back(texts);
        sources.push_back(&source);
    }
    for (uint32_t number : pending)
        if (!numbers.count(number))
            report.add(number, "pending.txt", {0, "no record carries this number"});

    std::vector<std::string> names;
    for (const RecordTexts& texts : to_check)
        if (texts.attachment_kind == 2)
            for (const std::string& name : message_table_names(texts.attachment))
                names.push_back(name);
    std::string error;
    std::map<std::string, int64_t> values = sdk_values(options.cc, names, error);
    if (!error.empty()) {
        std::cerr << error << "\n";
        return 2;
    }

    auto core = read_core_commands(options.lists + "/core_commands.txt");
    auto uses = read_record_uses(options.lists + "/record_uses.txt");
    if (!core || !uses) {
        std::cerr << "cannot read core_commands.txt or record_uses.txt in " << options.lists << "\n";
        return 2;
    }
    EntryIndex entries;
    auto config_items = read_config_items(options.lists + "/aplayer_config.items");
    if (config_items.empty()) {
        std::cerr << "cannot read aplayer_config.items in " << options.lists << "\n";
        return 2;
    }

    Counts counts;
    CheckContext context{exports, values, config_items, counts};
    std::set<std::string> counted;  // texts shared by several records are counted once
    std::map<uint32_t, RecordFindings> found;
    for (size_t i = 0; i < to_check.size(); ++i) {
        const RecordTexts& texts = to_check[i];
        bool new_snippet = counted.insert(sources[i]->snippet_path).second;
        bool new_attachment = texts.attachment_kind != 0 && counted.insert(sources[i]->attachment_path).second;
        found[texts.entry_number] = check_record(texts, context, new_snippet, new_attachment);
    }
    for (size_t i = 0; i < to_check.size(); ++i) {
        const RecordTexts& texts = to_check[i];
        RecordFindings& record = found[texts.entry_number];
        // Calls may also resolve against the entries that the record names in its
        // note, and against records listed in record_uses.txt.
        std::vector<uint32_t> providers = (*uses)[texts.entry_number];
        if (texts.attachment_kind == 4)
            for (uint32_t n : entries.named_by(texts.attachment))
                providers.push_back(n);
        CallContext calls{*core, {}, false};
        for (uint32_t n : providers) {
            auto provider = found.find(n);
            if (provider == found.end()) {
                calls.unknown_allowed = true;  // not written yet (or not found): its declarations are unknown
                continue;
            }
            for (const SourceInfo* info : {&provider->second.snippet_info, &provider->second.companion_info})
                for (const auto& [name, arity] : callable_in(*info))
                    calls.declared[name] = arity;
        }
        check_record_calls(texts, record, calls);
        counts.calls +=
            int(calls_in(texts.snippet).size() + (texts.attachment_kind == 3 ? calls_in(texts.attachment).size() : 0));
        for (const Finding& f : record.snippet)
            report.add(texts.entry_number, sources[i]->snippet_path, f);
        for (const Finding& f : record.attachment)
            report.add(texts.entry_number, sources[i]->attachment_path, f);
    }

    // Every text once, in catalogue order: a shared text is one declaration.
    std::vector<DeclaringText> declaring;
    std::set<std::string> listed;
    for (size_t i = 0; i < to_check.size(); ++i) {
        const RecordFindings& record = found[to_check[i].entry_number];
        if (listed.insert(sources[i]->snippet_path).second)
            declaring.push_back({to_check[i].entry_number, sources[i]->snippet_path, &record.snippet_info});
        if (to_check[i].attachment_kind == 3 && listed.insert(sources[i]->attachment_path).second)
            declaring.push_back({to_check[i].entry_number, sources[i]->attachment_path, &record.companion_info});
    }
    for (const PlacedFinding& f : check_one_shape(declaring))
        report.add(f.record, f.path.c_str(), f.finding);

    std::cout << "checked " << to_check.size() << " records (" << pending.size() << " pending): " << counts.texts << " texts, "
              << counts.dll_commands << " .DLL命令 lines verified against their export tables, " << counts.table_rows
              << " constants-table rows verified, " << counts.calls << " calls checked; " << report.count() << " findings\n";
    return report.count() == 0 ? 0 : 1;
}
