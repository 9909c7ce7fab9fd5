// Paths, files and profile (INI) files, the platform's way.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace gui {

// A path in UTF-8; the Win32 layer converts it to UTF-16 at each use, so any file
// name works whatever the system's code page.
struct Path {
    std::string utf8;
};

// The folder that holds the running executable, without a trailing separator.
Path executable_directory();
// The path of a file or folder inside a folder.
Path join(const Path& folder, std::string_view name);
bool path_exists(const Path& path);
bool is_directory(const Path& path);

// The outcome of a file-system step, with the system's own words on failure.
struct FileResult {
    bool ok = true;
    std::string reason;  // GBK, for a message to the user
};
FileResult create_directory(const Path& path);
// Writes a whole file so that it is never seen half-written: the bytes go to a
// temporary file in the same folder, which then replaces the target.
FileResult write_file_replacing(const Path& path, std::span<const unsigned char> bytes);

// The path as GBK text for a message; characters without a GBK form become '?'.
std::string path_text(const Path& path);

// Profile files: one value of a section, or the default when the file, the section
// or the key is missing. Writing creates the file and the section as needed and
// replaces an earlier value of the key.
std::string read_profile(const Path& file, std::string_view section, std::string_view key, std::string_view default_value);
void write_profile(const Path& file, std::string_view section, std::string_view key, std::string_view value);

}  // namespace gui
