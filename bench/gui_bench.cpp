// What a person waits for in the Windows program, timed beside bare Win32 doing the
// same work in the same process: the median of repeated runs of each, and their ratio.
// A run is the work plus pumping the queue until it is idle, so the painting the work
// causes counts on both sides. Run by scripts/bench under Wine, never by the tests.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "browser/browser_controls.h"
#include "browser/entry_display.h"
#include "browser/prefix_search.h"
#include "browser/program.h"
#include "browser/result_navigation.h"
#include "catalogue/catalogue.h"
#include "gui/win32/internal.h"
#include "settings/geometry_file.h"
#include "viewers/constants_viewer.h"
#include "viewers/text_viewer.h"

namespace fs = std::filesystem;

namespace {

constexpr int warm_ups = 2;
constexpr int runs = 15;

// Where the geometry file puts each window; the bare windows stand at the same places.
constexpr gui::Rect browser_place{50, 50, 839, 587};
constexpr gui::Rect code_place{310, 100, 561, 521};
constexpr gui::Rect constants_place{350, 140, 561, 521};
constexpr gui::Rect text_place{390, 180, 561, 521};  // global variables and second code
constexpr int tree_height = 587 - 110;               // the browser's layout rule

void fail(const char* what) {
    std::fprintf(stderr, "bench_gui: %s\n", what);
    std::exit(1);
}

void require(bool condition, const char* what) {
    if (!condition)
        fail(what);
}

double now_ms() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return double(count.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// The program's own loop logic: IsDialogMessage first for the program's windows.
void pump() {
    gui::win32::pump_pending();
}

// No path here should show a message box; one that does is closed so that the bench
// ends, and the bench fails.
HHOOK hook = nullptr;
int message_boxes = 0;

LRESULT CALLBACK close_message_boxes(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_ACTIVATE) {
        auto box = reinterpret_cast<HWND>(wparam);
        wchar_t cls[16] = {};
        GetClassNameW(box, cls, 16);
        if (lstrcmpW(cls, L"#32770") == 0 && !GetPropW(box, L"bench.seen")) {
            SetPropW(box, L"bench.seen", HANDLE(1));
            ++message_boxes;
            PostMessageW(box, WM_COMMAND, GetDlgItem(box, IDCANCEL) ? IDCANCEL : IDOK, 0);
        }
    }
    return CallNextHookEx(hook, code, wparam, lparam);
}

// config.ini beside the exe while the bench runs, so that no window starts with the
// first-run notice; an earlier file is put back afterwards.
class GeometryFile {
  public:
    GeometryFile() : path_(fs::u8path(settings::geometry_path().utf8)) {
        if (std::ifstream in{path_, std::ios::binary}) {
            std::ostringstream bytes;
            bytes << in.rdbuf();
            earlier_ = bytes.str();
        }
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out << "[config]\r\n";
        const std::pair<const char*, gui::Rect> places[] = {{"window", browser_place},
                                                            {"window2", code_place},
                                                            {"window3", text_place},
                                                            {"window4", constants_place},
                                                            {"window5", text_place}};
        for (const auto& [prefix, r] : places)
            out << prefix << " Left=" << r.left << "\r\n"
                << prefix << " Top=" << r.top << "\r\n"
                << prefix << " Winth=" << r.width << "\r\n"
                << prefix << " High=" << r.height << "\r\n";
    }
    ~GeometryFile() {
        std::error_code ec;
        fs::remove(path_, ec);
        if (earlier_)
            std::ofstream(path_, std::ios::binary) << *earlier_;
    }

  private:
    fs::path path_;
    std::optional<std::string> earlier_;
};

// --- Timing -------------------------------------------------------------------------

struct Side {
    std::function<void()> prepare = [] {};
    std::function<void()> work;
    std::function<void()> finish = [] {};  // untimed: checks and clean-up
};

double timed(const Side& side) {
    side.prepare();
    pump();
    double start = now_ms();
    side.work();
    pump();
    double ms = now_ms() - start;
    side.finish();
    pump();
    return ms;
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    size_t n = times.size();
    return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

// The cases to run, by letter; all unless the command line names some ("bench_gui ce").
std::string chosen_cases = "abcdef";

void compare(const char* name, const char* both_sides, const Side& ours, const Side& bare) {
    if (chosen_cases.find(name[0]) == std::string::npos)
        return;
    std::vector<double> our_times, bare_times;
    for (int i = 0; i < warm_ups + runs; ++i) {
        // Taking turns at going first keeps a drift from favouring either side.
        double o, b;
        if (i % 2 == 0) {
            o = timed(ours);
            b = timed(bare);
        } else {
            b = timed(bare);
            o = timed(ours);
        }
        if (i >= warm_ups) {
            our_times.push_back(o);
            bare_times.push_back(b);
        }
    }
    double o = median(our_times), b = median(bare_times);
    std::printf("%-44s %10.3f %10.3f %7.2f\n   both: %s\n", name, o, b, o / b, both_sides);
    std::fflush(stdout);
}

// --- Bare Win32 -----------------------------------------------------------------------

std::wstring wide(std::string_view gbk) {
    if (gbk.empty())
        return {};
    int n = MultiByteToWideChar(936, 0, gbk.data(), int(gbk.size()), nullptr, 0);
    std::wstring out(size_t(n), L'\0');
    MultiByteToWideChar(936, 0, gbk.data(), int(gbk.size()), out.data(), n);
    return out;
}

const wchar_t bare_class[] = L"QinglanBenchBare";

HFONT message_font() {
    static HFONT font = [] {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        return CreateFontIndirectW(&metrics.lfMessageFont);
    }();
    return font;
}

HFONT gb2312_font() {
    static HFONT font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"");
    return font;
}

void register_bare_class() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = bare_class;
    RegisterClassExW(&wc);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

// A window's four stored values, read from config.ini one key at a time as the
// program's profile layer reads them, after asking whether the file exists.
gui::Rect bare_stored_place(const wchar_t* prefix) {
    static const std::wstring file = [] {
        wchar_t path[MAX_PATH];
        DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring p(path, n);
        return p.substr(0, p.find_last_of(L'\\') + 1) + L"config.ini";
    }();
    require(GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES, "bare: no config.ini");
    int values[4] = {};
    const wchar_t* const fields[] = {L" Left", L" Top", L" Winth", L" High"};
    for (int i = 0; i < 4; ++i) {
        wchar_t buffer[256];
        GetPrivateProfileStringW(L"config", (std::wstring(prefix) + fields[i]).c_str(), L"", buffer, 256, file.c_str());
        values[i] = _wtoi(buffer);
    }
    return {values[0], values[1], values[2], values[3]};
}

void bare_place(HWND window, const wchar_t* prefix) {
    gui::Rect r = bare_stored_place(prefix);
    SetWindowPos(window, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND bare_window(gui::Rect r, HWND owner) {
    return CreateWindowExW(WS_EX_CONTROLPARENT, bare_class, L"bare", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, r.left, r.top,
                           r.width, r.height, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
}

HWND bare_child(HWND parent, const wchar_t* cls, DWORD style, DWORD ex_style, gui::Rect r, HFONT font) {
    HWND hwnd = CreateWindowExW(ex_style, cls, L"", WS_CHILD | style, r.left, r.top, r.width, r.height, parent, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return hwnd;
}

// The viewers' client areas: the outer size less 17 x 40 (text) and 17 x 39 (list).
HWND bare_text(HWND parent) {
    return bare_child(parent, WC_EDITW,
                      WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_NOHIDESEL, 0,
                      {0, 0, code_place.width - 17, code_place.height - 40}, message_font());
}

HWND bare_tree(HWND parent) {
    return bare_child(
        parent, WC_TREEVIEWW,
        WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
        WS_EX_CLIENTEDGE, {16, 54, 224, tree_height}, message_font());
}

std::vector<HTREEITEM> bare_tree_fill(HWND tree) {
    std::vector<HTREEITEM> handles;
    HTREEITEM parents[4] = {TVI_ROOT};
    SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
    for (const catalogue::TreeItem& item : catalogue::tree_items()) {
        std::wstring caption = wide(item.caption);
        TVINSERTSTRUCTW insert{};
        insert.hParent = parents[item.level - 1];
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = caption.data();
        insert.item.lParam = LPARAM(item.entry_number);
        auto handle = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
        if (item.level < std::size(parents))
            parents[item.level] = handle;
        handles.push_back(handle);
    }
    SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
    return handles;
}

HWND bare_list_view(HWND parent) {
    HWND list = bare_child(parent, WC_LISTVIEWW, WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0,
                           {0, 0, constants_place.width - 17, constants_place.height - 39}, message_font());
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    const std::pair<int, int> columns[] = {
        {0, LVCFMT_LEFT}, {80, LVCFMT_CENTER}, {80, LVCFMT_CENTER}, {80, LVCFMT_CENTER}, {600, LVCFMT_LEFT}};
    for (size_t i = 0; i < std::size(columns); ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH;
        column.cx = columns[i].first;
        column.fmt = columns[i].second;
        SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(ImageList_Create(1, 20, ILC_COLOR, 0, 1)));
    return list;
}

// A constants table cut as the constants window cuts it: the cells each row sets.
struct Cell {
    int column;
    catalogue::Text text;
};
using Table = std::vector<std::vector<Cell>>;

Table cut_table(catalogue::Text table) {
    Table rows;
    catalogue::Splitter lines = catalogue::table_rows(table);
    for (catalogue::Text line; lines.next(line);) {
        if (line.empty())
            continue;
        std::vector<Cell>& cells = rows.emplace_back();
        catalogue::Splitter fields = catalogue::row_fields(line);
        catalogue::Text field;
        for (int column = 1; column <= 3 && fields.next(field); ++column) {
            cells.push_back({column, field});
            line.remove_prefix(std::min(line.size(), field.size() + 2));
            if (column == 3)
                cells.push_back({4, line});
        }
    }
    return rows;
}

void bare_list_fill(HWND list, const Table& table) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    for (size_t row = 0; row < table.size(); ++row) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = int(row);
        item.pszText = const_cast<wchar_t*>(L"");
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        for (const Cell& cell : table[row]) {
            std::wstring text = wide(cell.text);
            LVITEMW sub{};
            sub.iSubItem = cell.column;
            sub.pszText = text.data();
            SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&sub));
        }
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

int list_view_rows(HWND list) {
    return int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

int tree_count(HWND tree) {
    return int(SendMessageW(tree, TVM_GETCOUNT, 0, 0));
}

// The search box's text set, and the result list refilled with the keys that match,
// sized to them and shown, as a keystroke does it.
void bare_search(HWND box, HWND list, catalogue::Text text, const std::vector<catalogue::Text>& rows) {
    SetWindowTextW(box, wide(text).c_str());
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (catalogue::Text row : rows)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(row).c_str()));
    SetWindowPos(list, HWND_TOP, 0, 0, 147, 15 * int(rows.size()) + 2, SWP_NOMOVE | SWP_NOACTIVATE);
    ShowWindow(list, SW_SHOWNA);
}

// --- The catalogue's largest cases ------------------------------------------------------

const catalogue::SnippetRecord& largest_snippet() {
    auto records = catalogue::snippet_records();
    return *std::max_element(records.begin(), records.end(),
                             [](const auto& a, const auto& b) { return a.snippet.size() < b.snippet.size(); });
}

const catalogue::SnippetRecord& largest_constants_table() {
    const catalogue::SnippetRecord* best = nullptr;
    for (const catalogue::SnippetRecord& r : catalogue::snippet_records())
        if (r.attachment_kind == catalogue::AttachmentKind::constants_table &&
            (!best || r.attachment.size() > best->attachment.size()))
            best = &r;
    require(best, "the catalogue has no constants table");
    return *best;
}

// Of the records whose display shows no message box.
const catalogue::SnippetRecord& largest_record() {
    using Kind = catalogue::AttachmentKind;
    const catalogue::SnippetRecord* best = nullptr;
    for (const catalogue::SnippetRecord& r : catalogue::snippet_records()) {
        if (r.attachment_kind == Kind::required_entries || r.attachment_kind == Kind::support_file)
            continue;
        if (!best || r.snippet.size() + r.attachment.size() > best->snippet.size() + best->attachment.size())
            best = &r;
    }
    return *best;
}

// The rows the result list shows for a search text.
std::vector<catalogue::Text> matching_keys(catalogue::Text text) {
    std::vector<catalogue::Text> keys;
    for (const catalogue::SearchKey& key : catalogue::search_keys())
        if (browser::prefix_match(key.key, text))
            keys.push_back(key.key);
    return keys;
}

// Case names print as UTF-8 whatever the literals' code page.
const char* utf8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1)
        chosen_cases = argv[1];
    using browser::列表框1;
    using browser::树型框1;
    using browser::编辑框1;
    using gui::win32::control_hwnd;

    GeometryFile geometry;
    hook = SetWindowsHookExW(WH_CBT, close_message_boxes, nullptr, GetCurrentThreadId());
    register_bare_class();

    const catalogue::SnippetRecord& snippet = largest_snippet();
    const catalogue::SnippetRecord& constants = largest_constants_table();
    const catalogue::SnippetRecord& record = largest_record();
    const Table constants_rows = cut_table(constants.attachment);
    const catalogue::Text prefix = "到";
    const std::vector<catalogue::Text> prefix_rows = matching_keys(prefix);
    const catalogue::Text whole_key = "系统 - 发送消息";
    auto keys = catalogue::search_keys();
    auto key = std::find_if(keys.begin(), keys.end(), [&](const auto& k) { return k.key == whole_key; });
    require(key != keys.end(), "no search key for the navigation");
    const size_t target = key->tree_position;
    const catalogue::SnippetRecord* target_record = catalogue::snippet_record(catalogue::entry_number_at(target));
    require(target_record && target_record->attachment_kind == catalogue::AttachmentKind::constants_table,
            "the navigation target has no constants table");
    const Table target_rows = cut_table(target_record->attachment);

    std::printf(
        "inputs: %zu tree items; largest snippet #%u, %zu bytes; largest constants table #%u, %zu rows; "
        "prefix rows %zu; navigation target #%u, %zu rows; largest record #%u, %zu + %zu bytes\n",
        catalogue::tree_items().size(), snippet.entry_number, snippet.snippet.size(), constants.entry_number,
        constants_rows.size(), prefix_rows.size(), target_record->entry_number, target_rows.size(), record.entry_number,
        record.snippet.size(), record.attachment.size());
    std::printf("median of %d runs after %d warm-ups; a run is the work and pumping until the queue is idle\n", runs, warm_ups);
    std::printf("%-44s %10s %10s %7s\n", "case", "ours ms", "bare ms", "ratio");

    // a. The browser window with its four controls and the tree filled, at its stored
    // place, until the queue is idle.
    {
        gui::WindowId opened;
        HWND bare = nullptr, tree = nullptr;
        Side ours{[] {}, [&] { opened = program::start(); },
                  [&] {
                      require(tree_count(control_hwnd(opened, 树型框1)) == int(catalogue::tree_items().size()), "a: our tree");
                      gui::close_window(opened);
                  }};
        Side bare_side{[] {},
                       [&] {
                           bare = bare_window({50, 50, 788, 573}, nullptr);
                           bare_child(bare, WC_EDITW, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                                      {16, 17, 147, 24}, message_font());
                           HWND button = bare_child(bare, WC_BUTTONW, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0,
                                                    {176, 16, 66, 26}, message_font());
                           SetWindowTextW(button, L"\u67e5\u627e");  // 查找
                           bare_child(bare, WC_LISTBOXW, WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0,
                                      {16, 40, 147, 24}, gb2312_font());
                           tree = bare_tree(bare);
                           bare_tree_fill(tree);
                           bare_place(bare, L"window");
                           ShowWindow(bare, SW_SHOW);
                       },
                       [&] {
                           require(tree_count(tree) == int(catalogue::tree_items().size()), "a: bare tree");
                           DestroyWindow(bare);
                       }};
        compare(utf8(u8"a  browser window, 308 tree items"),
                "create the window with search box, button, hidden result list and tree; fill 308 items; read its "
                "4 stored values; place it; show it",
                ours, bare_side);
    }

    // The rest works over one open browser window and its bare likeness.
    gui::WindowId browser_window = program::start();
    HWND bare_browser = bare_window(browser_place, nullptr);
    HWND bare_tree_view = bare_tree(bare_browser);
    HWND bare_search_box = bare_child(bare_browser, WC_EDITW, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                                      {16, 17, 147, 24}, message_font());
    HWND bare_list_box = bare_child(bare_browser, WC_LISTBOXW, WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0,
                                    {16, 40, 147, 24}, gb2312_font());
    ShowWindow(bare_browser, SW_SHOW);
    const std::vector<HTREEITEM> bare_items = bare_tree_fill(bare_tree_view);
    pump();

    // b. The code window with the largest snippet.
    {
        viewers::TextViewer viewer(viewers::code_window, browser_window);
        HWND window = nullptr, edit = nullptr;
        Side ours{[] {},
                  [&] {
                      viewer.open_if_closed();
                      viewer.set_text(snippet.snippet);
                  },
                  [&] {
                      require(gui::edit_text(viewer.window(), viewers::TextViewer::编辑框1) == snippet.snippet, "b: our text");
                      viewer.close_if_open();
                  }};
        Side bare{[] {},
                  [&] {
                      window = bare_window(code_place, bare_browser);
                      edit = bare_text(window);
                      bare_place(window, L"window2");
                      ShowWindow(window, SW_SHOWNOACTIVATE);
                      SetWindowTextW(edit, wide(snippet.snippet).c_str());
                  },
                  [&] { DestroyWindow(window); }};
        compare(utf8(u8"b  code window, largest snippet"),
                "create the owned window and its edit box; read its 4 stored values; place and show it; set the text", ours,
                bare);
    }

    // c. The constants window with the largest table.
    {
        viewers::ConstantsViewer viewer(browser_window);
        HWND window = nullptr, list = nullptr;
        Side ours{[] {},
                  [&] {
                      viewer.open_if_closed();
                      viewer.fill(constants.attachment);
                  },
                  [&] {
                      require(gui::list_view_row_count(viewer.window(), viewers::ConstantsViewer::超级列表框1) ==
                                  int(constants_rows.size()),
                              "c: our rows");
                      viewer.close_if_open();
                  }};
        Side bare{[] {},
                  [&] {
                      window = bare_window(constants_place, bare_browser);
                      list = bare_list_view(window);
                      bare_place(window, L"window4");
                      ShowWindow(window, SW_SHOWNOACTIVATE);
                      bare_list_fill(list, cut_table(constants.attachment));
                  },
                  [&] {
                      require(list_view_rows(list) == int(constants_rows.size()), "c: bare rows");
                      DestroyWindow(window);
                  }};
        compare(utf8(u8"c  constants window, largest table"),
                "create the owned window and its list view with 5 columns; read its 4 stored values; place and show "
                "it; cut the table and fill every row",
                ours, bare);
    }

    // d. One keystroke: the search and the result list.
    {
        Side ours{[] {}, [&] { gui::set_edit_text(browser_window, 编辑框1, prefix); },
                  [&] {
                      require(gui::list_count(browser_window, 列表框1) == int(prefix_rows.size()), "d: our rows");
                      gui::set_edit_text(browser_window, 编辑框1, "");
                  }};
        Side bare{[] {}, [&] { bare_search(bare_search_box, bare_list_box, prefix, matching_keys(prefix)); },
                  [&] {
                      ShowWindow(bare_list_box, SW_HIDE);
                      SetWindowTextW(bare_search_box, L"");
                  }};
        compare(utf8(u8"d  keystroke 到, result list"),
                "set the search box's text; find the matching keys; refill the result list with them; size and show it", ours,
                bare);
    }

    // e and f keep the viewer windows open from run to run, as a person's navigations do.
    HWND bare_code = bare_window(code_place, bare_browser);
    HWND bare_code_text = bare_text(bare_code);
    HWND bare_constants = bare_window(constants_place, bare_browser);
    HWND bare_constants_list = bare_list_view(bare_constants);
    HWND bare_second = bare_window(text_place, bare_browser);
    HWND bare_second_text = bare_text(bare_second);
    for (HWND w : {bare_code, bare_constants, bare_second})
        ShowWindow(w, SW_SHOWNOACTIVATE);
    pump();

    // e. A navigation by a whole key to an entry with a constants table.
    {
        Side ours{[&] {
                      gui::tree_select(browser_window, 树型框1, 0);  // a category: shows nothing
                      gui::set_edit_text(browser_window, 编辑框1, whole_key);
                  },
                  [&] { browser::go(browser_window); },
                  [&] { require(gui::tree_selected_position(browser_window, 树型框1) == target, "e: our selection"); }};
        Side bare{[&] {
                      SendMessageW(bare_tree_view, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(bare_items[0]));
                      bare_search(bare_search_box, bare_list_box, whole_key, matching_keys(whole_key));
                  },
                  [&] {
                      SetFocus(bare_tree_view);
                      SendMessageW(bare_tree_view, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(bare_items[target]));
                      SetWindowTextW(bare_code_text, wide(target_record->snippet).c_str());
                      bare_list_fill(bare_constants_list, cut_table(target_record->attachment));
                      SetWindowTextW(bare_search_box, L"");
                      SendMessageW(bare_list_box, LB_RESETCONTENT, 0, 0);
                      ShowWindow(bare_list_box, SW_HIDE);
                  },
                  [&] { require(list_view_rows(bare_constants_list) == int(target_rows.size()), "e: bare rows"); }};
        compare(utf8(u8"e  navigation to 系统 - 发送消息"),
                "with the whole key typed and its result list shown: focus the tree and select the item; put the "
                "snippet in the open code window; cut the table and refill the open constants window; empty the "
                "search box and hide the result list",
                ours, bare);
    }

    // f. The whole display of the largest record, over a fresh browser window.
    gui::close_window(browser_window);
    pump();
    browser_window = program::start();
    pump();
    {
        auto shown = std::make_unique<browser::Viewers>(browser_window);
        Side ours{[] {}, [&] { browser::show_record(browser_window, *shown, record); }, [] {}};
        Side bare{[] {},
                  [&] {
                      SetWindowTextW(bare_code_text, wide(record.snippet).c_str());
                      switch (record.attachment_kind) {
                          case catalogue::AttachmentKind::constants_table:
                              bare_list_fill(bare_constants_list, cut_table(record.attachment));
                              break;
                          case catalogue::AttachmentKind::global_variables:
                          case catalogue::AttachmentKind::companion_snippet:
                              SetWindowTextW(bare_second_text, wide(record.attachment).c_str());
                              break;
                          default:
                              break;
                      }
                  },
                  [] {}};
        compare(utf8(u8"f  display of the largest record"),
                "put the snippet and the attachment (a table cut into rows) into the viewer windows that stay open "
                "from run to run",
                ours, bare);
        gui::close_window(browser_window);  // with the viewer windows, while their objects live
    }

    for (HWND w : {bare_code, bare_constants, bare_second, bare_browser})
        DestroyWindow(w);
    pump();
    UnhookWindowsHookEx(hook);
    if (message_boxes) {
        std::fprintf(stderr, "bench_gui: %d message box(es) showed; the timings include them\n", message_boxes);
        return 1;
    }
    return 0;
}
