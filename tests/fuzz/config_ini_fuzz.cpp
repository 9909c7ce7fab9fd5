// config.ini as the program reads and writes it, through the headless profile
// implementation; the fuzz input is the file. The browser window loads its geometry
// from it, as at start, and so does each viewer window, as it opens: each must stand
// at its stored place when that is on a monitor (otherwise on the work area) with its
// stored size raised to the minimum. Then each saves its geometry, as at close: the
// file must give back what was saved, and every other value it held before.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "gui/files.h"
#include "gui/gui.h"
#include "gui/headless/model.h"
#include "settings/geometry_file.h"
#include "viewers/viewer_layout.h"

namespace {

namespace fs = std::filesystem;

const char* const field_words[] = {"Left", "Top", "Winth", "High"};
const char* const viewer_prefixes[] = {"window2", "window3", "window4", "window5"};
// The browser window's design frame and minimum size.
constexpr gui::Rect browser_frame{50, 50, 788, 573};
constexpr int browser_min_width = 839, browser_min_height = 587;
constexpr size_t most_probes = 8;

// The executable's folder of the headless model: a folder of this process's own.
struct ScratchFolder {
    fs::path path = fs::temp_directory_path() / ("qinglan-fuzz-config-ini-" + std::to_string(getpid()));
    ScratchFolder() { fs::create_directories(path); }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

struct NoEvents : gui::WindowEvents {};

std::string key(std::string_view prefix, int field) {
    return std::string(prefix) + " " + field_words[field];
}

std::string trimmed(std::string_view s) {
    size_t first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return std::string(s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1));
}

bool same_name(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

bool is_geometry_key(std::string_view section, std::string_view name) {
    if (!same_name(section, "config"))
        return false;
    for (std::string_view prefix : {"window", "window2", "window3", "window4", "window5"})
        for (int field = 0; field < 4; ++field)
            if (same_name(name, key(prefix, field)))
                return true;
    return false;
}

// A key of the file that the program does not write, and its value before.
struct Probe {
    std::string section, key, value;
};

// The value read when a key is missing: a read value never holds a line end.
const char missing[] = "\n(missing)";

// The first "key=value" lines of the file, under the section they follow.
std::vector<Probe> probes_of(std::string_view file_text) {
    std::vector<Probe> probes;
    std::string section;
    while (!file_text.empty() && probes.size() < most_probes) {
        size_t end = std::min(file_text.find('\n'), file_text.size());
        std::string_view line = file_text.substr(0, end);
        file_text.remove_prefix(std::min(end + 1, file_text.size()));
        std::string t = trimmed(line);
        if (!t.empty() && t.front() == '[') {
            section = t.size() >= 2 && t.back() == ']' ? trimmed(std::string_view(t).substr(1, t.size() - 2)) : std::string();
        } else if (size_t equals = line.find('='); equals != std::string_view::npos) {
            std::string name = trimmed(line.substr(0, equals));
            if (!is_geometry_key(section, name))
                probes.push_back({section, name, ""});
        }
    }
    return probes;
}

std::string read(const Probe& probe) {
    return gui::read_profile(settings::geometry_path(), probe.section, probe.key, missing);
}

// The four values stored for a window, each its default when missing or no number.
gui::Rect stored_rect(std::string_view prefix, const settings::Defaults& defaults) {
    const int fallback[4] = {defaults.left, defaults.top, defaults.width, defaults.height};
    int v[4];
    for (int field = 0; field < 4; ++field) {
        std::string text = gui::read_profile(settings::geometry_path(), "config", key(prefix, field), "");
        v[field] = settings::parse_value(text).value_or(fallback[field]);
    }
    return {v[0], v[1], v[2], v[3]};
}

void check_placed(gui::WindowId window, gui::Rect stored, int min_width, int min_height) {
    gui::Rect r = gui::window_rect(window);
    FUZZ_CHECK(r.width == std::max(stored.width, min_width));
    FUZZ_CHECK(r.height == std::max(stored.height, min_height));
    FUZZ_CHECK(gui::on_a_monitor(r));
    gui::Rect at_stored{stored.left, stored.top, r.width, r.height};
    if (gui::on_a_monitor(at_stored)) {
        FUZZ_CHECK(r == at_stored);
        return;
    }
    // Brought onto the work area: inside it, as far as the size fits.
    gui::Rect area = gui::nearest_work_area(at_stored);
    FUZZ_CHECK(r.left >= area.left && r.top >= area.top);
    FUZZ_CHECK(r.width > area.width || int64_t(r.left) + r.width <= int64_t(area.left) + area.width);
    FUZZ_CHECK(r.height > area.height || int64_t(r.top) + r.height <= int64_t(area.top) + area.height);
}

struct Opened {
    gui::WindowId window;
    const char* key_prefix;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ScratchFolder folder;
    gui::headless::reset({folder.path.string()});
    {
        std::ofstream out(settings::geometry_path().utf8, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    std::vector<Probe> probes = probes_of({reinterpret_cast<const char*>(data), size});
    for (Probe& probe : probes)
        probe.value = read(probe);

    NoEvents events;
    std::vector<Opened> opened;
    gui::WindowId browser = gui::open_window({"browser", browser_frame, browser_min_width, browser_min_height, {}}, events);
    settings::load_geometry(browser, "window", std::nullopt);
    check_placed(browser, stored_rect("window", {0, 0, 0, 0}), browser_min_width, browser_min_height);
    opened.push_back({browser, "window"});
    for (const char* prefix : viewer_prefixes) {
        settings::Defaults defaults = viewers::default_geometry(browser);
        gui::WindowId viewer =
            gui::open_window({prefix, {50, 50, 200, 200}, viewers::min_width, viewers::min_height, {}}, events, browser);
        settings::load_geometry(viewer, prefix, defaults);
        check_placed(viewer, stored_rect(prefix, defaults), viewers::min_width, viewers::min_height);
        opened.push_back({viewer, prefix});
    }

    for (const Opened& o : opened)
        settings::save_geometry(o.window, o.key_prefix);
    for (const Opened& o : opened) {
        gui::Rect r = gui::window_rect(o.window);
        const int saved[4] = {r.left, r.top, r.width, r.height};
        for (int field = 0; field < 4; ++field)
            FUZZ_CHECK(settings::parse_value(
                           gui::read_profile(settings::geometry_path(), "config", key(o.key_prefix, field), "")) == saved[field]);
    }
    for (const Probe& probe : probes)
        FUZZ_CHECK(read(probe) == probe.value);
    gui::close_window(browser);
    return 0;
}
