// Top-level windows: one record per open window, found from its HWND through
// GWLP_USERDATA; the message loop; geometry that survives minimising.
#include <map>
#include <memory>

#include "gui/scaling.h"
#include "internal.h"

namespace gui::win32 {

namespace {

const wchar_t window_class[] = L"QinglanWindow";
ATOM class_atom = 0;
std::map<uint32_t, std::unique_ptr<WindowRecord>> open_windows;
uint32_t last_id = 0;
WindowId loop_window;

// rcNormalPosition is in workspace coordinates: offset by a taskbar on the top or the
// left of the monitor. Converting keeps a window from creeping at every start.
POINT workspace_offset(HWND hwnd) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info);
    return {info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top};
}

LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE && class_atom) {
        auto* record = static_cast<WindowRecord*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        record->hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
    }
    WindowRecord* record = record_of(hwnd);
    if (!record)  // WM_GETMINMAXINFO can come before WM_NCCREATE
        return DefWindowProcW(hwnd, message, wparam, lparam);
    switch (message) {
        case WM_GETMINMAXINFO: {
            // Stops a user's drag below the minimum; the layout rule raises sizes the program sets.
            auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
            info->ptMinTrackSize = {scale(record->min_width, record->dpi), scale(record->min_height, record->dpi)};
            return 0;
        }
        case WM_DPICHANGED: {
            // On a monitor of another scale: controls and fonts for the new DPI, then the
            // rectangle the system suggests, which keeps the window in proportion.
            int old_dpi = record->dpi;
            record->dpi = LOWORD(wparam);
            rescale_controls(*record, old_dpi);
            const RECT& suggested = *reinterpret_cast<RECT*>(lparam);
            SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                         suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
            if (record->events)
                record->events->dpi_changed();
            return 0;
        }
        case WM_MOVE:
            if (record->events && !IsIconic(hwnd))
                record->events->moved();
            return 0;
        case WM_SIZE:
            if (record->events && wparam != SIZE_MINIMIZED)
                record->events->resized();
            return 0;
        case WM_DESTROY:
            // Owned windows have been destroyed already; this one still has its place.
            if (record->events)
                record->events->destroying();
            return 0;
        case WM_NCDESTROY: {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            bool was_loop_window = record->id == loop_window;
            open_windows.erase(record->id.value);
            if (was_loop_window)
                PostQuitMessage(0);
            return 0;
        }
    }
    bool handled = false;
    LRESULT result = handle_control_message(*record, message, wparam, lparam, handled);
    return handled ? result : DefWindowProcW(hwnd, message, wparam, lparam);
}

void register_class() {
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = window_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = window_class;
    class_atom = RegisterClassExW(&wc);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    registered = true;
}

}  // namespace

void dispatch(MSG& msg) {
    // IsDialogMessage gives Tab between the controls of every window of ours.
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    if (root && record_of(root) && IsDialogMessageW(root, &msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void pump_pending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        dispatch(msg);
}

WindowRecord* record(WindowId window) {
    auto found = open_windows.find(window.value);
    return found == open_windows.end() ? nullptr : found->second.get();
}

WindowRecord* record_of(HWND hwnd) {
    // Only windows of our own class carry a record; others use GWLP_USERDATA as they like.
    if (!hwnd || !class_atom || GetClassLongW(hwnd, GCW_ATOM) != class_atom)
        return nullptr;
    return reinterpret_cast<WindowRecord*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

HWND window_hwnd(WindowId window) {
    WindowRecord* r = record(window);
    return r ? r->hwnd : nullptr;
}

}  // namespace gui::win32

namespace gui {

using namespace win32;

WindowId open_window(const WindowSpec& spec, WindowEvents& events, WindowId owner) {
    register_class();
    auto owned = std::make_unique<WindowRecord>();
    WindowRecord* r = owned.get();
    r->id = WindowId{++last_id};
    r->min_width = spec.min_width;
    r->min_height = spec.min_height;
    r->design.assign(spec.controls.begin(), spec.controls.end());
    open_windows[r->id.value] = std::move(owned);
    // The events start once the controls exist.
    CreateWindowExW(WS_EX_CONTROLPARENT, window_class, wide_from_gbk(spec.caption).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                    spec.frame.left, spec.frame.top, spec.frame.width, spec.frame.height, window_hwnd(owner), nullptr,
                    GetModuleHandleW(nullptr), r);
    if (!r->hwnd) {
        open_windows.erase(r->id.value);
        return {};
    }
    // Created at the design values, then scaled for the monitor it came up on; no
    // events run yet.
    r->dpi = dpi_of(r->hwnd);
    if (r->dpi != design_dpi) {
        Rect frame = scale(spec.frame, r->dpi);
        SetWindowPos(r->hwnd, nullptr, frame.left, frame.top, frame.width, frame.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    WindowId id = r->id;
    create_controls(*r);
    r->events = &events;
    events.created(id);
    if (is_open(id))
        ShowWindow(r->hwnd, owner.value ? SW_SHOWNOACTIVATE : SW_SHOW);
    return id;
}

void show_window(WindowId window) {
    if (HWND hwnd = window_hwnd(window); hwnd && !IsWindowVisible(hwnd))
        ShowWindow(hwnd, SW_SHOW);
}

bool is_open(WindowId window) {
    return record(window) != nullptr;
}

void close_window(WindowId window) {
    if (HWND hwnd = window_hwnd(window))
        DestroyWindow(hwnd);
}

Rect window_rect(WindowId window) {
    HWND hwnd = window_hwnd(window);
    if (!hwnd)
        return {};
    RECT rc;
    if (IsIconic(hwnd) || IsZoomed(hwnd)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(hwnd, &placement);
        rc = placement.rcNormalPosition;
        POINT offset = workspace_offset(hwnd);
        OffsetRect(&rc, offset.x, offset.y);
    } else {
        GetWindowRect(hwnd, &rc);
    }
    return {rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

int window_dpi(WindowId window) {
    WindowRecord* r = record(window);
    return r ? r->dpi : design_dpi;
}

void move_window(WindowId window, int left, int top) {
    if (HWND hwnd = window_hwnd(window))
        SetWindowPos(hwnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void resize_window(WindowId window, int width, int height) {
    if (HWND hwnd = window_hwnd(window))
        SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void set_window_rect(WindowId window, Rect r) {
    if (HWND hwnd = window_hwnd(window))
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

Answer message_box(WindowId owner, Text text, Text title, Buttons buttons) {
    int result = MessageBoxW(window_hwnd(owner), wide_from_gbk(text).c_str(), wide_from_gbk(title).c_str(),
                             buttons == Buttons::ok ? MB_OK : MB_OKCANCEL);
    return result == IDOK ? Answer::ok : Answer::cancel;
}

void set_clipboard_text(Text text) {
    std::wstring wide = wide_from_gbk(text);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
    if (!memory)
        return;
    auto* data = static_cast<wchar_t*>(GlobalLock(memory));
    wide.copy(data, wide.size());
    data[wide.size()] = L'\0';
    GlobalUnlock(memory);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(memory);
        return;
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_UNICODETEXT, memory))
        GlobalFree(memory);
    CloseClipboard();
}

bool on_a_monitor(Rect r) {
    RECT rc{r.left, r.top, r.left + r.width, r.top + r.height};
    return MonitorFromRect(&rc, MONITOR_DEFAULTTONULL) != nullptr;
}

Rect nearest_work_area(Rect r) {
    RECT rc{r.left, r.top, r.left + r.width, r.top + r.height};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromRect(&rc, MONITOR_DEFAULTTONEAREST), &info);
    return {info.rcWork.left, info.rcWork.top, info.rcWork.right - info.rcWork.left, info.rcWork.bottom - info.rcWork.top};
}

void run_until_closed(WindowId window) {
    loop_window = window;
    MSG msg;
    while (is_open(window) && GetMessageW(&msg, nullptr, 0, 0) > 0)
        win32::dispatch(msg);
}

}  // namespace gui
