#include "geometry_file.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace settings {

namespace {

const char section[] = "config";
const char* const field_words[] = {"Left", "Top", "Winth", "High"};  // "Winth" is how the file spells width

std::string key(std::string_view prefix, int field) {
    return std::string(prefix) + " " + field_words[field];
}

int value_or(std::string_view text, int fallback) {
    return parse_value(text).value_or(fallback);
}

// Keeps the size and brings the rectangle inside the work area, as far as it fits.
int clamp_into(int position, int size, int area_start, int area_size) {
    return std::max(area_start, std::min(position, area_start + area_size - size));
}

}  // namespace

gui::Path geometry_path() {
    return gui::join(gui::executable_directory(), "config.ini");
}

bool geometry_file_exists() {
    return gui::path_exists(geometry_path());
}

std::optional<int> parse_value(std::string_view text) {
    // No length limit: leading zeros keep a value plain, and from_chars reports an overflow.
    if (text.empty())
        return std::nullopt;
    size_t digits_from = text[0] == '-' ? 1 : 0;
    if (digits_from == text.size() || text.find_first_not_of("0123456789", digits_from) != std::string_view::npos)
        return std::nullopt;
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

void load_geometry(gui::WindowId window, std::string_view key_prefix, const std::optional<Defaults>& defaults) {
    gui::Path file = geometry_path();
    int fallback[4] = {0, 0, 0, 0};
    if (defaults)
        fallback[0] = defaults->left, fallback[1] = defaults->top, fallback[2] = defaults->width, fallback[3] = defaults->height;
    int values[4];
    for (int field = 0; field < 4; ++field) {
        std::string fallback_text = defaults ? std::to_string(fallback[field]) : std::string();
        values[field] = value_or(gui::read_profile(file, section, key(key_prefix, field), fallback_text), fallback[field]);
    }
    // One step for the four values: each window move costs an X server round trip under
    // Wine, and the layout rule ends in the same place whichever order they come in.
    gui::set_window_rect(window, {values[0], values[1], values[2], values[3]});
    if (!gui::is_open(window))
        return;
    gui::Rect placed = gui::window_rect(window);
    if (!gui::on_a_monitor(placed)) {
        gui::Rect area = gui::nearest_work_area(placed);
        gui::move_window(window, clamp_into(placed.left, placed.width, area.left, area.width),
                         clamp_into(placed.top, placed.height, area.top, area.height));
    }
}

void save_geometry(gui::WindowId window, std::string_view key_prefix) {
    gui::Path file = geometry_path();
    gui::Rect r = gui::window_rect(window);
    const int values[4] = {r.left, r.top, r.width, r.height};
    for (int field = 0; field < 4; ++field)
        gui::write_profile(file, section, key(key_prefix, field), std::to_string(values[field]));
}

}  // namespace settings
