// Files through std::filesystem, and profile files read and written the way
// GetPrivateProfileString and WritePrivateProfileString do it.
#include "gui/files.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "model.h"

namespace fs = std::filesystem;

namespace gui {

namespace {

std::string_view trim(std::string_view s) {
    size_t first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

bool same_name(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// The whole file, or nothing when it cannot be read. One read and no copy per line:
// the profile of a window is read a value at a time.
std::string read_text(const Path& file) {
    std::string text;
    int fd = open(file.utf8.c_str(), O_RDONLY);
    if (fd < 0)
        return text;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, size_t(n));
    close(fd);
    return text;
}

// Takes the next line off the front of text, without its line end ("\n" or "\r\n").
bool next_line(std::string_view& text, std::string_view& line) {
    if (text.empty())
        return false;
    size_t end = std::min(text.find('\n'), text.size());
    line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return true;
}

bool is_section(std::string_view line, std::string_view section) {
    std::string_view t = trim(line);
    return t.size() >= 2 && t.front() == '[' && t.back() == ']' && same_name(trim(t.substr(1, t.size() - 2)), section);
}

bool is_any_section(std::string_view line) {
    std::string_view t = trim(line);
    return !t.empty() && t.front() == '[';
}

// The key of a "key=value" line, or nullopt.
std::optional<std::string_view> key_of(std::string_view line) {
    size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return trim(line.substr(0, equals));
}

FileResult failure(const std::error_code& ec) {
    return {false, ec.message()};
}

}  // namespace

Path executable_directory() {
    return headless::state().executable_directory;
}

Path join(const Path& folder, std::string_view name) {
    return {folder.utf8 + "/" + std::string(name)};
}

bool path_exists(const Path& path) {
    std::error_code ec;
    return fs::exists(path.utf8, ec);
}

bool is_directory(const Path& path) {
    std::error_code ec;
    return fs::is_directory(path.utf8, ec);
}

FileResult create_directory(const Path& path) {
    std::error_code ec;
    if (fs::exists(path.utf8, ec))
        return {false, "Cannot create a file when that file already exists"};
    fs::create_directory(path.utf8, ec);
    return ec ? failure(ec) : FileResult{};
}

FileResult write_file_replacing(const Path& path, std::span<const unsigned char> bytes) {
    std::string temporary = path.utf8 + "." + std::to_string(getpid()) + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return {false, std::strerror(errno)};
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        out.flush();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return {false, "write failed"};
        }
    }
    std::error_code ec;
    if (fs::is_directory(path.utf8, ec)) {
        fs::remove(temporary, ec);
        return {false, "Access is denied"};
    }
    fs::rename(temporary, path.utf8, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return failure(ec);
    }
    return {};
}

std::string path_text(const Path& path) {
    return path.utf8;
}

std::string read_profile(const Path& file, std::string_view section, std::string_view key, std::string_view default_value) {
    std::string text = read_text(file);
    std::string_view rest = text, line;
    bool in_section = false;
    while (next_line(rest, line)) {
        if (is_any_section(line)) {
            in_section = is_section(line, section);
            continue;
        }
        auto k = key_of(line);
        if (in_section && k && same_name(*k, key))
            return std::string(trim(line.substr(line.find('=') + 1)));
    }
    return std::string(default_value);
}

void write_profile(const Path& file, std::string_view section, std::string_view key, std::string_view value) {
    std::string text = read_text(file);
    std::vector<std::string_view> lines;
    std::string_view rest = text, line;
    while (next_line(rest, line))
        lines.push_back(line);
    std::string entry = std::string(key) + "=" + std::string(value);
    std::string header = "[" + std::string(section) + "]";
    long section_line = -1, last_in_section = -1;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (is_any_section(lines[i])) {
            if (section_line >= 0 && last_in_section >= section_line)
                break;
            if (is_section(lines[i], section))
                section_line = last_in_section = long(i);
            continue;
        }
        if (section_line < 0)
            continue;
        auto k = key_of(lines[i]);
        if (k && same_name(*k, key)) {
            lines[i] = entry;
            section_line = -2;  // replaced
            break;
        }
        if (!trim(lines[i]).empty())
            last_in_section = long(i);
    }
    if (section_line == -1) {
        lines.push_back(header);
        lines.push_back(entry);
    } else if (section_line >= 0) {
        lines.insert(lines.begin() + last_in_section + 1, entry);
    }
    std::ofstream out(file.utf8, std::ios::binary | std::ios::trunc);
    for (std::string_view l : lines)
        out << l << "\r\n";
}

}  // namespace gui
