// The driver on the real Win32 controls: messages as the mouse and keyboard would
// send them, the real message loop for keys, message boxes found as windows by a
// WH_CBT hook and answered by pressing their buttons.
#include <deque>
#include <filesystem>

#include "browser/program.h"
#include "driver.h"
#include "gui/win32/internal.h"
#include "tools/common/gbk.h"

namespace fs = std::filesystem;
using namespace gui::win32;

namespace driver {

namespace {

std::deque<gui::Answer> answers;
std::vector<MessageBoxSeen> boxes;
HHOOK hook = nullptr;

std::wstring window_text(HWND hwnd) {
    std::wstring text(size_t(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(hwnd, text.data(), int(text.size()))));
    return text;
}

// The next top-level window of the program's class after `after` that this process
// made. Other processes on the same Wine desktop (the end-to-end test's program) show
// windows of the same class, whose records are not in this process.
HWND next_own_window(HWND after) {
    HWND hwnd = after;
    while ((hwnd = FindWindowExW(nullptr, hwnd, L"QinglanWindow", nullptr))) {
        DWORD process = 0;
        GetWindowThreadProcessId(hwnd, &process);
        if (process == GetCurrentProcessId())
            return hwnd;
    }
    return nullptr;
}

// A message box is a #32770 dialog: its text is the static control 0xFFFF, its icon
// the static control 20; it is answered by clicking a button once it is active.
LRESULT CALLBACK cbt_hook(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_ACTIVATE) {
        auto box = reinterpret_cast<HWND>(wparam);
        wchar_t cls[16] = {};
        GetClassNameW(box, cls, 16);
        if (lstrcmpW(cls, L"#32770") == 0 && !GetPropW(box, L"qinglan.seen")) {
            SetPropW(box, L"qinglan.seen", HANDLE(1));
            bool has_cancel = GetDlgItem(box, IDCANCEL) != nullptr;
            HWND icon = GetDlgItem(box, 20);
            MessageBoxSeen seen{gbk_from_wide(window_text(GetDlgItem(box, 0xFFFF))), gbk_from_wide(window_text(box)),
                                has_cancel ? gui::Buttons::ok_cancel : gui::Buttons::ok,
                                icon && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0) != 0, !answers.empty()};
            gui::Answer answer = answers.empty() ? (has_cancel ? gui::Answer::cancel : gui::Answer::ok) : answers.front();
            if (!answers.empty())
                answers.pop_front();
            boxes.push_back(seen);
            PostMessageW(box, WM_COMMAND, answer == gui::Answer::ok ? IDOK : IDCANCEL, 0);
        }
    }
    return CallNextHookEx(hook, code, wparam, lparam);
}

// Runs the queued messages through the program's own loop logic (IsDialogMessage first).
void pump() {
    pump_pending();
}

void post_key(HWND target, UINT vk) {
    PostMessageW(target, WM_KEYDOWN, vk, 1);
    PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
}

// A popup menu's modal loop reads the keys already queued: Down picks the items in
// turn, Enter chooses, Escape dismisses.
void queue_menu_choice(HWND target, int menu_index) {
    for (int i = 0; i <= menu_index; ++i)
        post_key(target, VK_DOWN);
    post_key(target, menu_index < 0 ? VK_ESCAPE : VK_RETURN);
}

HWND control(gui::WindowId window, int id) {
    return control_hwnd(window, id);
}

}  // namespace

void reset() {
    std::error_code ec;
    while (HWND leftover = next_own_window(nullptr))
        DestroyWindow(leftover);
    fs::path folder = fs::u8path(executable_directory().utf8);
    fs::remove(folder / "config.ini", ec);
    fs::remove_all(folder / "download", ec);
    answers.clear();
    boxes.clear();
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    if (!hook)
        hook = SetWindowsHookExW(WH_CBT, cbt_hook, nullptr, GetCurrentThreadId());
    pump();
}

gui::Path executable_directory() {
    return gui::executable_directory();
}

gui::WindowId start() {
    return program::start();
}

void close(gui::WindowId window) {
    SendMessageW(window_hwnd(window), WM_CLOSE, 0, 0);
    pump();
}

gui::WindowId find_window(std::string_view caption_utf8) {
    std::wstring caption = wide_from_utf8(caption_utf8);
    for (HWND hwnd = next_own_window(nullptr); hwnd; hwnd = next_own_window(hwnd))
        if (window_text(hwnd) == caption)
            if (WindowRecord* r = record_of(hwnd))
                return r->id;
    return {};
}

void select_tree_item(gui::WindowId window, int id, size_t position) {
    SetFocus(control(window, id));
    gui::tree_select(window, id, position);
    pump();
}

void type(gui::WindowId window, int id, std::string_view gbk_text) {
    HWND hwnd = control(window, id);
    for (wchar_t c : wide_from_gbk(gbk_text))
        SendMessageW(hwnd, WM_CHAR, c, 1);
    pump();
}

void clear_text(gui::WindowId window, int id) {
    HWND hwnd = control(window, id);
    SendMessageW(hwnd, EM_SETSEL, 0, -1);
    SendMessageW(hwnd, WM_CLEAR, 0, 0);
    pump();
}

void press_key(gui::WindowId window, int id, int virtual_key) {
    HWND hwnd = control(window, id);
    SetFocus(hwnd);
    post_key(hwnd, UINT(virtual_key));
    pump();
}

void click_button(gui::WindowId window, int id) {
    SendMessageW(control(window, id), BM_CLICK, 0, 0);
    pump();
}

void double_click_row(gui::WindowId window, int id, int row) {
    HWND hwnd = control(window, id);
    SendMessageW(hwnd, LB_SETCURSEL, WPARAM(row), 0);
    RECT rc;
    SendMessageW(hwnd, LB_GETITEMRECT, WPARAM(row), reinterpret_cast<LPARAM>(&rc));
    LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    SendMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
    pump();
}

void select_row(gui::WindowId window, int id, int row) {
    SendMessageW(control(window, id), LB_SETCURSEL, WPARAM(row), 0);
    pump();
}

void right_click_text(gui::WindowId window, int id, int menu_index) {
    HWND hwnd = control(window, id);
    RECT rc;
    GetWindowRect(hwnd, &rc);
    queue_menu_choice(hwnd, menu_index);
    SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(rc.left + 20, rc.top + 20));
    pump();
}

// The edit passes VK_APPS on to DefWindowProc, which asks for the context menu
// with the position (-1, -1).
void menu_key_on_text(gui::WindowId window, int id, int menu_index) {
    HWND hwnd = control(window, id);
    SetFocus(hwnd);
    post_key(hwnd, VK_APPS);
    queue_menu_choice(hwnd, menu_index);
    pump();
}

void right_click_cell(gui::WindowId window, int id, int row, int column, int menu_index) {
    HWND hwnd = control(window, id);
    SendMessageW(hwnd, LVM_ENSUREVISIBLE, WPARAM(row), FALSE);
    RECT rc{};
    rc.top = column;
    rc.left = LVIR_LABEL;
    SendMessageW(hwnd, LVM_GETSUBITEMRECT, WPARAM(row), reinterpret_cast<LPARAM>(&rc));
    RECT client;
    GetClientRect(hwnd, &client);
    // A cell scrolled partly out of view is clicked on its visible part.
    int x = (std::max(rc.left, client.left) + std::min(rc.right, client.right)) / 2;
    LPARAM at = MAKELPARAM(x, (rc.top + rc.bottom) / 2);
    // The list view waits for the button to come up before it reports the click.
    PostMessageW(hwnd, WM_RBUTTONUP, 0, at);
    queue_menu_choice(hwnd, menu_index);
    SendMessageW(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, at);
    pump();
}

void select_text(gui::WindowId window, int id, std::string_view gbk_part) {
    std::string text = gui::edit_text(window, id);
    size_t at = text.find(gbk_part);
    if (at == std::string::npos)
        return;
    int start = int(wide_from_gbk(text.substr(0, at)).size());
    int end = start + int(wide_from_gbk(gbk_part).size());
    SendMessageW(control(window, id), EM_SETSEL, WPARAM(start), LPARAM(end));
}

void scroll_list_view(gui::WindowId window, int id, int dx) {
    SendMessageW(control(window, id), LVM_SCROLL, WPARAM(dx), 0);
    pump();
}

void set_column_width(gui::WindowId window, int id, int column, int width) {
    SendMessageW(control(window, id), LVM_SETCOLUMNWIDTH, WPARAM(column), MAKELPARAM(width, 0));
}

void drag_to(gui::WindowId window, gui::Rect r) {
    SetWindowPos(window_hwnd(window), nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
    pump();
}

void minimize(gui::WindowId window) {
    ShowWindow(window_hwnd(window), SW_MINIMIZE);
    pump();
}

void maximize(gui::WindowId window) {
    ShowWindow(window_hwnd(window), SW_MAXIMIZE);
    pump();
}

bool use_dpi(int dpi) {
    return dpi == system_dpi();
}

void change_dpi(gui::WindowId window, int dpi, gui::Rect r) {
    RECT suggested{r.left, r.top, r.left + r.width, r.top + r.height};
    SendMessageW(window_hwnd(window), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    pump();
}

int focused_control(gui::WindowId window) {
    HWND focus = GetFocus();
    WindowRecord* r = record(window);
    if (!focus || !r)
        return 0;
    for (const auto& [id, hwnd] : r->controls)
        if (hwnd == focus)
            return id;
    return 0;
}

ListViewColumn list_view_column(gui::WindowId window, int id, int column) {
    LVCOLUMNW info{};
    info.mask = LVCF_FMT | LVCF_WIDTH;
    SendMessageW(control(window, id), LVM_GETCOLUMNW, WPARAM(column), reinterpret_cast<LPARAM>(&info));
    return {info.cx, (info.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER};
}

int list_view_row_height(gui::WindowId window, int id) {
    HWND hwnd = control(window, id);
    RECT rc{};
    rc.left = LVIR_BOUNDS;
    if (!SendMessageW(hwnd, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rc)))
        return 0;
    return rc.bottom - rc.top;
}

Font control_font(gui::WindowId window, int id) {
    HWND hwnd = control(window, id);
    auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    LOGFONTW info{};
    GetObjectW(font, sizeof info, &info);
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return {int(info.lfHeight), int(info.lfWeight), int(info.lfCharSet), int(metrics.tmHeight)};
}

void answer_next_message_box(gui::Answer answer) {
    answers.push_back(answer);
}

std::vector<MessageBoxSeen> message_boxes() {
    return boxes;
}

void forget_message_boxes() {
    boxes.clear();
}

std::optional<std::string> clipboard_text() {
    if (!OpenClipboard(nullptr))
        return std::nullopt;
    std::optional<std::string> text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        auto* chars = static_cast<const wchar_t*>(GlobalLock(data));
        if (chars)
            text = gbk_from_wide(chars);
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

void set_clipboard_text(std::string_view gbk_text) {
    gui::set_clipboard_text(gbk_text);
}

}  // namespace driver
