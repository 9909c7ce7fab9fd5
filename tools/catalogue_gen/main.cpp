// catalogue_gen: builds the compiled-in catalogue from catalogue/manifest.txt and the
// UTF-8 texts under catalogue/texts/. Any fault stops the build with the file, line
// and character to fix.
//
//   catalogue_gen MANIFEST TEXTS_DIR OUT_DATA_CPP OUT_SOURCES_CPP

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

#include "emit.h"
#include "manifest.h"
#include "source_text.h"
#include "tools/common/gbk.h"

namespace fs = std::filesystem;

namespace {

// Paths in the manifest are UTF-8 whatever the platform's narrow encoding is.
fs::path utf8_path(const std::string& s) {
    return fs::path(std::u8string(s.begin(), s.end()));
}

std::string path_utf8(const fs::path& p) {
    std::u8string s = p.generic_u8string();
    return std::string(s.begin(), s.end());
}

bool read_file(const fs::path& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    out = buffer.str();
    return true;
}

// Writes only when the content changed, so that an unchanged catalogue does not
// recompile.
bool write_if_changed(const fs::path& path, const std::string& content) {
    std::string old;
    if (read_file(path, old) && old == content)
        return true;
    std::ofstream out(path, std::ios::binary);
    out << content;
    return bool(out);
}

class Builder {
  public:
    Builder(fs::path manifest_path, fs::path texts_dir)
        : manifest_path_(std::move(manifest_path)), texts_dir_(std::move(texts_dir)) {}

    bool run(emit::Catalogue& out) {
        std::string content;
        if (!read_file(manifest_path_, content)) {
            error(manifest_path_.string() + ": cannot read the manifest");
            return false;
        }
        manifest::ParseResult parsed = manifest::parse(content, manifest_path_.string());
        for (const std::string& e : parsed.errors)
            error(e);
        if (!parsed.errors.empty())
            return false;
        build(parsed.manifest, out);
        check_unused_files();
        return errors_ == 0;
    }

  private:
    void error(const std::string& message) {
        std::cerr << message << "\n";
        ++errors_;
    }

    std::string at(int line) const { return manifest_path_.string() + ":" + std::to_string(line) + ": "; }

    std::string to_gbk(const std::string& utf8, int line) {
        gbk::Converted converted = gbk::from_utf8(utf8);
        if (converted.error)
            error(at(line) + "no GBK form for a character of '" + utf8 + "'");
        return converted.text;
    }

    size_t text(const manifest::TextRef& ref) {
        auto found = text_index_.find(ref.path);
        if (found != text_index_.end()) {
            if (crlf_[found->second] != ref.ends_with_crlf)
                error(at(ref.manifest_line) + ref.path + " is used both with and without crlf");
            return found->second;
        }
        size_t index = texts_.size();
        text_index_[ref.path] = index;
        crlf_.push_back(ref.ends_with_crlf);
        paths_.push_back(ref.path);
        std::string utf8;
        if (!read_file(texts_dir_ / utf8_path(ref.path), utf8)) {
            error(at(ref.manifest_line) + "missing text file " + (texts_dir_ / utf8_path(ref.path)).string());
            texts_.emplace_back();
            return index;
        }
        source_text::Converted converted = source_text::convert(utf8, ref.ends_with_crlf);
        if (!converted.error.empty())
            error((texts_dir_ / utf8_path(ref.path)).string() + ":" + converted.error);
        texts_.push_back(converted.gbk);
        return index;
    }

    void build(const manifest::Manifest& m, emit::Catalogue& out) {
        std::string category;  // GBK name of the current category
        uint32_t last_number = 0;
        for (size_t position = 0; position < m.items.size(); ++position) {
            const manifest::Item& item = m.items[position];
            std::string name = to_gbk(item.name, item.manifest_line);
            if (item.level == 1) {
                category = name;
                out.items.push_back({"\xA1\xF3 " + name + "\xA3\xA8" + std::to_string(item.stored_count) + "\xA3\xA9", 1, 0});
                continue;
            }
            out.items.push_back({"\xA1\xF2 " + name, item.level, item.entry_number});
            if (item.level == 2) {
                uint32_t selects = uint32_t(item.is_group ? position + 1 : position);
                out.keys.push_back({name + " - " + category, selects});
            }
            if (item.is_group) {
                bool has_sub = position + 1 < m.items.size() && m.items[position + 1].level == 3;
                if (!has_sub)
                    error(at(item.manifest_line) + "a group needs sub-entries");
                continue;
            }
            if (item.shares_previous_record) {
                if (item.entry_number != last_number)
                    error(at(item.manifest_line) + "'same' must carry the number of the item before it");
                continue;
            }
            if (item.entry_number <= last_number)
                error(at(item.manifest_line) + "entry numbers must rise in tree order");
            last_number = item.entry_number;
            emit::Record record{item.entry_number, text(*item.snippet), item.attachment_kind, 0};
            if (item.attachment)
                record.attachment = text(*item.attachment);
            out.records.push_back(record);
        }
        out.texts = texts_;
        out.text_paths = paths_;
    }

    void check_unused_files() {
        std::error_code ec;
        for (fs::recursive_directory_iterator it(texts_dir_, ec), end; !ec && it != end; it.increment(ec)) {
            if (!it->is_regular_file())
                continue;
            std::string relative = path_utf8(fs::relative(it->path(), texts_dir_));
            if (!text_index_.count(relative))
                error(it->path().string() + ": used by no record of the manifest");
        }
        if (ec)
            error(texts_dir_.string() + ": cannot list the texts: " + ec.message());
    }

    fs::path manifest_path_;
    fs::path texts_dir_;
    std::map<std::string, size_t> text_index_;
    std::vector<std::string> texts_;
    std::vector<bool> crlf_;
    std::vector<std::string> paths_;
    int errors_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: catalogue_gen MANIFEST TEXTS_DIR OUT_DATA_CPP OUT_SOURCES_CPP\n";
        return 2;
    }
    emit::Catalogue catalogue;
    if (!Builder(argv[1], argv[2]).run(catalogue))
        return 1;
    if (!write_if_changed(argv[3], emit::data_source(catalogue)) || !write_if_changed(argv[4], emit::sources_source(catalogue))) {
        std::cerr << "catalogue_gen: cannot write the generated sources\n";
        return 1;
    }
    return 0;
}
