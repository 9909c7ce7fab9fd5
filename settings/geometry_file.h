// The geometry file: config.ini beside the executable, section "config", four keys
// per window ("window Left", "window Top", "window Winth", "window High", and the
// same with the prefixes window2 to window5).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "gui/files.h"
#include "gui/gui.h"

namespace settings {

// Formed anew for every read and write.
gui::Path geometry_path();
bool geometry_file_exists();

// A value counts only as a plain decimal 32-bit integer; anything else a hand may
// have written (text, an overflow, an empty value) counts as missing.
std::optional<int> parse_value(std::string_view text);

// The defaults of a viewer window: where the browser window stands now, plus an offset.
struct Defaults {
    int left, top, width, height;
};

// Reads left, top, width and height and applies them to the window, whose layout rule
// then raises a size below its minimum. Missing values are the defaults, or 0
// without them. A rectangle that ends up on no monitor at all is moved onto the
// nearest monitor's work area.
void load_geometry(gui::WindowId window, std::string_view key_prefix, const std::optional<Defaults>& defaults);

// Writes the window's four values (its restored place when minimised or maximised).
void save_geometry(gui::WindowId window, std::string_view key_prefix);

}  // namespace settings
