// Controls: creation from the layout, their notifications to the window's events,
// and the operations the program uses on them.
#include <algorithm>

#include "gui/scaling.h"
#include "internal.h"
// GET_X_LPARAM and GET_Y_LPARAM; after windows.h.
#include <windowsx.h>

namespace gui::win32 {

namespace {

POINT menu_point{-1, -1};

// Fonts for each DPI a window has been at, made once and kept for the run.
HFONT message_font(int dpi) {
    static std::map<int, HFONT> fonts;
    HFONT& font = fonts[dpi];
    if (!font) {
        LOGFONTW face = message_font_for(dpi);
        font = CreateFontIndirectW(&face);
    }
    return font;
}

// The result list's own font: the default face of the GB2312 character set, 13 pixels at 96 DPI.
HFONT gb2312_font(int dpi) {
    static std::map<int, HFONT> fonts;
    HFONT& font = fonts[dpi];
    if (!font)
        font = CreateFontW(-scale(13, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"");
    return font;
}

int line_height(HWND control, HFONT font) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return int(metrics.tmHeight);
}

// The font for the DPI, and the rows that follow from the design and the font.
void apply_dpi(HWND hwnd, const ControlSpec& c, int dpi) {
    HFONT font = c.gb2312_font ? gb2312_font(dpi) : message_font(dpi);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (c.row_height <= 0)
        return;
    if (c.kind == ControlKind::list_box) {
        // A font's line may be taller than the scaled design row (a face's own proportions).
        int row = std::max(scale(c.row_height, dpi), line_height(hwnd, font));
        SendMessageW(hwnd, LB_SETITEMHEIGHT, 0, row);
    }
    if (c.kind == ControlKind::list_view) {
        // Row height follows the small image list: an empty list of 1 x N images gives
        // N-pixel rows on Windows (Wine adds one pixel). The list view destroys the
        // list it holds, the program the one it replaces.
        HIMAGELIST images = ImageList_Create(1, scale(c.row_height, dpi), ILC_COLOR, 0, 1);
        auto old =
            reinterpret_cast<HIMAGELIST>(SendMessageW(hwnd, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images)));
        if (old)
            ImageList_Destroy(old);
    }
}

WindowEvents* events_of_control(HWND control) {
    WindowRecord* r = record_of(GetAncestor(control, GA_ROOT));
    return r ? r->events : nullptr;
}

// Controls are subclassed by replacing their window procedure, the original kept in
// the control's user data: under Wine SetWindowSubclass costs a wineserver round trip
// (its data is a window property) on every message the control gets, some 0.3 ms.
void subclass(HWND control, WNDPROC procedure) {
    SetWindowLongPtrW(control, GWLP_USERDATA, GetWindowLongPtrW(control, GWLP_WNDPROC));
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}

LRESULT original_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    return CallWindowProcW(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)), hwnd, message, wparam, lparam);
}

// Search box and result list: key presses go to the window's events first. Enter
// must reach the control through IsDialogMessage rather than become IDOK.
LRESULT CALLBACK key_subclass(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_GETDLGCODE:
            if (lparam) {
                auto* msg = reinterpret_cast<MSG*>(lparam);
                if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
                    return DLGC_WANTALLKEYS;
            }
            break;
        case WM_KEYDOWN:
            if (WindowEvents* events = events_of_control(hwnd); events && events->key_down(control_id(hwnd), int(wparam)))
                return 0;
            break;
        case WM_CHAR:
            if (wparam == '\r')  // handled as a key press; no beep
                return 0;
            break;
    }
    return original_procedure(hwnd, message, wparam, lparam);
}

// Read-only texts: the window's own edit menu instead of the edit's built-in one,
// from the right button and from the keyboard's menu key alike.
void request_context_menu(HWND hwnd, POINT point) {
    if (point.x == -1 && point.y == -1) {  // from the keyboard: open at the box's corner
        point = {8, 8};
        ClientToScreen(hwnd, &point);
    }
    set_menu_point(point);
    if (WindowEvents* events = events_of_control(hwnd))
        events->context_menu(control_id(hwnd));
}

LRESULT CALLBACK text_subclass(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CONTEXTMENU:  // right button, and Shift+F10 through DefWindowProc
            request_context_menu(hwnd, {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
            return 0;
        case WM_KEYUP:
            // The menu key, handled here: not every DefWindowProc turns it into WM_CONTEXTMENU.
            if (wparam == VK_APPS) {
                request_context_menu(hwnd, {-1, -1});
                return 0;
            }
            break;
        case WM_DESTROY:
            // Wine's edit keeps the word-break data it makes to wrap a long line (a byte
            // per character of the text) past its destruction; emptying the text frees it.
            original_procedure(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
            break;
    }
    return original_procedure(hwnd, message, wparam, lparam);
}

// Wine's list view scrolls and repaints at every row added while it redraws, some
// 15 ms a row: the rows one event handler adds are drawn together instead, when the
// message loop next runs. The list view's user data marks a pending redraw; the
// window's own procedure takes the message, as the list view has no subclass.
constexpr UINT redraw_again = WM_APP + 1;

void defer_redraw(HWND list) {
    if (!list || GetWindowLongPtrW(list, GWLP_USERDATA))
        return;
    SetWindowLongPtrW(list, GWLP_USERDATA, 1);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    PostMessageW(GetParent(list), redraw_again, reinterpret_cast<WPARAM>(list), 0);
}

void redraw_now(HWND list) {
    if (!IsWindow(list) || !GetWindowLongPtrW(list, GWLP_USERDATA))
        return;
    SetWindowLongPtrW(list, GWLP_USERDATA, 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);  // WM_SETREDRAW need not repaint by itself
}

// Column 0 of a list view is a hidden zero-width column: it must stay hidden.
bool blocks_header_drag(NMHDR* header) {
    if (header->code != HDN_BEGINTRACKW && header->code != HDN_BEGINTRACKA && header->code != HDN_DIVIDERDBLCLICKW &&
        header->code != HDN_DIVIDERDBLCLICKA)
        return false;
    return reinterpret_cast<NMHEADERW*>(header)->iItem == 0;
}

HWND create_control(HWND parent, const ControlSpec& c, int dpi) {
    const wchar_t* cls = L"";
    DWORD style = WS_CHILD | (c.visible ? WS_VISIBLE : 0);
    DWORD ex_style = 0;
    switch (c.kind) {
        case ControlKind::search_edit:
            cls = WC_EDITW;
            style |= WS_TABSTOP | ES_AUTOHSCROLL;
            ex_style = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::read_only_text:
            cls = WC_EDITW;
            style |= WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_NOHIDESEL;
            break;
        case ControlKind::button:
            cls = WC_BUTTONW;
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        case ControlKind::list_box:
            cls = WC_LISTBOXW;
            style |= WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
            break;
        case ControlKind::tree_view:
            cls = WC_TREEVIEWW;
            style |= WS_TABSTOP | WS_CLIPSIBLINGS | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
            ex_style = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::list_view:
            cls = WC_LISTVIEWW;
            style |= WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
            break;
    }
    Rect r = scale(c.rect, dpi);
    HWND hwnd = CreateWindowExW(ex_style, cls, wide_from_gbk(c.caption).c_str(), style, r.left, r.top, r.width, r.height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), GetModuleHandleW(nullptr), nullptr);
    if (c.kind == ControlKind::search_edit || c.kind == ControlKind::list_box)
        subclass(hwnd, key_subclass);
    if (c.kind == ControlKind::read_only_text)
        subclass(hwnd, text_subclass);
    if (c.kind == ControlKind::list_view) {
        SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
        for (size_t i = 0; i < c.columns.size(); ++i) {
            LVCOLUMNW column{};
            column.mask = LVCF_FMT | LVCF_WIDTH;
            column.fmt = c.columns[i].centred ? LVCFMT_CENTER : LVCFMT_LEFT;
            column.cx = scale(c.columns[i].width, dpi);
            SendMessageW(hwnd, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
        }
    }
    apply_dpi(hwnd, c, dpi);
    return hwnd;
}

}  // namespace

void set_menu_point(POINT point) {
    menu_point = point;
}

int control_id(HWND control) {
    return GetDlgCtrlID(control);
}

HWND control_hwnd(WindowId window, int control) {
    WindowRecord* r = record(window);
    if (!r)
        return nullptr;
    auto found = r->controls.find(control);
    return found == r->controls.end() ? nullptr : found->second;
}

void create_controls(WindowRecord& record) {
    // Siblings created first lie on top: the layout lists the result list before the tree.
    for (const ControlSpec& c : record.design)
        record.controls[c.id] = create_control(record.hwnd, c, record.dpi);
}

void rescale_controls(WindowRecord& record, int old_dpi) {
    for (const ControlSpec& c : record.design) {
        HWND hwnd = record.controls[c.id];
        Rect r = scale(c.rect, record.dpi);
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
        apply_dpi(hwnd, c, record.dpi);
        // Column widths as the user left them, in proportion; the hidden column stays 0.
        for (size_t i = 0; i < c.columns.size(); ++i) {
            int width = int(SendMessageW(hwnd, LVM_GETCOLUMNWIDTH, i, 0));
            SendMessageW(hwnd, LVM_SETCOLUMNWIDTH, i, MulDiv(width, record.dpi, old_dpi));
        }
    }
}

LRESULT handle_control_message(WindowRecord& record, UINT message, WPARAM wparam, LPARAM lparam, bool& handled) {
    WindowEvents* events = record.events;
    handled = false;
    if (message == redraw_again) {
        redraw_now(reinterpret_cast<HWND>(wparam));
        handled = true;
        return 0;
    }
    if (!events)
        return 0;
    switch (message) {
        case WM_COMMAND: {
            int id = LOWORD(wparam);
            if (!lparam)
                return 0;
            switch (HIWORD(wparam)) {
                case BN_CLICKED:  // also EN_SETFOCUS's value for edits; only buttons send it as a click
                    if (record.controls.count(id) && GetDlgItem(record.hwnd, id) == reinterpret_cast<HWND>(lparam)) {
                        wchar_t cls[16];
                        GetClassNameW(reinterpret_cast<HWND>(lparam), cls, 16);
                        if (lstrcmpiW(cls, WC_BUTTONW) == 0)
                            events->clicked(id);
                    }
                    break;
                case EN_CHANGE:
                    events->text_changed(id);
                    break;
                case LBN_DBLCLK:
                    events->double_clicked(id);
                    break;
            }
            handled = true;
            return 0;
        }
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lparam);
            if (blocks_header_drag(header)) {
                handled = true;
                return TRUE;
            }
            int id = int(header->idFrom);
            if (header->code == TVN_SELCHANGEDW) {
                events->selection_changed(id);
            } else if (header->code == NM_RCLICK) {
                wchar_t cls[32];
                GetClassNameW(header->hwndFrom, cls, 32);
                if (lstrcmpiW(cls, WC_LISTVIEWW) == 0) {
                    // The cell under the pointer, whatever the scrolling and the column widths.
                    LVHITTESTINFO hit{};
                    hit.pt = reinterpret_cast<NMITEMACTIVATE*>(lparam)->ptAction;
                    SendMessageW(header->hwndFrom, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
                    if (hit.iItem >= 0)
                        events->item_right_clicked(id, hit.iItem, hit.iSubItem);
                }
            }
            return 0;
        }
        case WM_CTLCOLORSTATIC: {
            // Read-only edits draw grey by default; the texts are black on white.
            auto control = reinterpret_cast<HWND>(lparam);
            if (GetWindowLongW(control, GWL_STYLE) & ES_READONLY) {
                SetBkColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_WINDOW));
                SetTextColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_WINDOWTEXT));
                handled = true;
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
            }
            return 0;
        }
    }
    return 0;
}

}  // namespace gui::win32

namespace gui {

using namespace win32;

Rect control_rect(WindowId window, int control) {
    HWND hwnd = control_hwnd(window, control);
    if (!hwnd)
        return {};
    RECT rc;
    GetWindowRect(hwnd, &rc);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
    return {rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

void set_control_rect(WindowId window, int control, Rect r) {
    if (HWND hwnd = control_hwnd(window, control))
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool control_visible(WindowId window, int control) {
    HWND hwnd = control_hwnd(window, control);
    return hwnd && (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE);
}

void show_control(WindowId window, int control, bool visible) {
    if (HWND hwnd = control_hwnd(window, control)) {
        if (visible)  // over its siblings, the tree included
            SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        else
            ShowWindow(hwnd, SW_HIDE);
    }
}

void focus_control(WindowId window, int control) {
    if (HWND hwnd = control_hwnd(window, control))
        SetFocus(hwnd);
}

std::string edit_text(WindowId window, int control) {
    HWND hwnd = control_hwnd(window, control);
    if (!hwnd)
        return {};
    std::wstring text(size_t(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(hwnd, text.data(), int(text.size()))));
    return gbk_from_wide(text);
}

void set_edit_text(WindowId window, int control, Text text) {
    if (HWND hwnd = control_hwnd(window, control))
        SetWindowTextW(hwnd, wide_from_gbk(text).c_str());
}

// The copy and select requests go through SendMessageA, as the edit's own commands.
void edit_copy(WindowId window, int control) {
    if (HWND hwnd = control_hwnd(window, control))
        SendMessageA(hwnd, WM_COPY, 0, 0);
}

void edit_select_all(WindowId window, int control) {
    if (HWND hwnd = control_hwnd(window, control))
        SendMessageA(hwnd, EM_SETSEL, 0, -1);
}

void list_clear(WindowId window, int control) {
    SendMessageW(control_hwnd(window, control), LB_RESETCONTENT, 0, 0);
}

void list_append(WindowId window, int control, Text row) {
    SendMessageW(control_hwnd(window, control), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide_from_gbk(row).c_str()));
}

int list_count(WindowId window, int control) {
    return int(SendMessageW(control_hwnd(window, control), LB_GETCOUNT, 0, 0));
}

std::string list_row(WindowId window, int control, int row) {
    HWND hwnd = control_hwnd(window, control);
    LRESULT length = SendMessageW(hwnd, LB_GETTEXTLEN, WPARAM(row), 0);
    if (!hwnd || length == LB_ERR)
        return {};
    std::wstring text(size_t(length) + 1, L'\0');
    text.resize(size_t(SendMessageW(hwnd, LB_GETTEXT, WPARAM(row), reinterpret_cast<LPARAM>(text.data()))));
    return gbk_from_wide(text);
}

int list_selection(WindowId window, int control) {
    LRESULT row = SendMessageW(control_hwnd(window, control), LB_GETCURSEL, 0, 0);
    return row == LB_ERR ? -1 : int(row);
}

void list_select(WindowId window, int control, int row) {
    SendMessageW(control_hwnd(window, control), LB_SETCURSEL, WPARAM(row), 0);
}

void set_list_height(WindowId window, int control, int height) {
    Rect r = control_rect(window, control);
    set_control_rect(window, control, {r.left, r.top, r.width, height});
}

int list_row_height(WindowId window, int control) {
    return int(SendMessageW(control_hwnd(window, control), LB_GETITEMHEIGHT, 0, 0));
}

void tree_fill(WindowId window, int control, std::span<const TreeItem> items) {
    WindowRecord* r = record(window);
    HWND hwnd = control_hwnd(window, control);
    if (!r || !hwnd)
        return;
    std::vector<HTREEITEM>& handles = r->tree_items[control];
    HTREEITEM parents[8] = {TVI_ROOT};
    SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
    for (const TreeItem& item : items) {
        std::wstring caption = wide_from_gbk(item.caption);
        TVINSERTSTRUCTW insert{};
        insert.hParent = item.level >= 1 && item.level < 8 ? parents[item.level - 1] : TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = caption.data();
        insert.item.lParam = LPARAM(item.value);
        HTREEITEM handle = reinterpret_cast<HTREEITEM>(SendMessageW(hwnd, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
        if (item.level < 8)
            parents[item.level] = handle;
        handles.push_back(handle);
    }
    SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
}

std::optional<size_t> tree_selected_position(WindowId window, int control) {
    WindowRecord* r = record(window);
    HWND hwnd = control_hwnd(window, control);
    if (!r || !hwnd)
        return std::nullopt;
    auto selected = reinterpret_cast<HTREEITEM>(SendMessageW(hwnd, TVM_GETNEXTITEM, TVGN_CARET, 0));
    const std::vector<HTREEITEM>& handles = r->tree_items[control];
    for (size_t i = 0; i < handles.size(); ++i)
        if (handles[i] == selected)
            return i;
    return std::nullopt;
}

std::optional<uint32_t> tree_selected_value(WindowId window, int control) {
    HWND hwnd = control_hwnd(window, control);
    auto selected = hwnd ? reinterpret_cast<HTREEITEM>(SendMessageW(hwnd, TVM_GETNEXTITEM, TVGN_CARET, 0)) : nullptr;
    if (!selected)
        return std::nullopt;
    TVITEMW item{};
    item.mask = TVIF_PARAM;
    item.hItem = selected;
    SendMessageW(hwnd, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return uint32_t(item.lParam);
}

void tree_select(WindowId window, int control, size_t position) {
    WindowRecord* r = record(window);
    HWND hwnd = control_hwnd(window, control);
    if (!r || !hwnd || position >= r->tree_items[control].size())
        return;
    // Sends TVN_SELCHANGED at once, inside this call.
    SendMessageW(hwnd, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(r->tree_items[control][position]));
}

void list_view_clear(WindowId window, int control) {
    HWND hwnd = control_hwnd(window, control);
    defer_redraw(hwnd);
    SendMessageW(hwnd, LVM_DELETEALLITEMS, 0, 0);
}

int list_view_append_row(WindowId window, int control) {
    HWND hwnd = control_hwnd(window, control);
    defer_redraw(hwnd);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = int(SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<wchar_t*>(L"");
    return int(SendMessageW(hwnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void list_view_set_cell(WindowId window, int control, int row, int column, Text text) {
    std::wstring wide = wide_from_gbk(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    HWND hwnd = control_hwnd(window, control);
    defer_redraw(hwnd);
    SendMessageW(hwnd, LVM_SETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(&item));
}

std::string list_view_cell(WindowId window, int control, int row, int column) {
    wchar_t buffer[4096] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = int(std::size(buffer));
    LRESULT n = SendMessageW(control_hwnd(window, control), LVM_GETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(&item));
    return gbk_from_wide(std::wstring_view(buffer, size_t(n)));
}

int list_view_row_count(WindowId window, int control) {
    return int(SendMessageW(control_hwnd(window, control), LVM_GETITEMCOUNT, 0, 0));
}

int list_view_selection(WindowId window, int control) {
    return int(SendMessageW(control_hwnd(window, control), LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
}

int popup_menu(WindowId window, std::span<const MenuItem> items) {
    HWND hwnd = window_hwnd(window);
    if (!hwnd)
        return 0;
    HMENU menu = CreatePopupMenu();
    for (const MenuItem& item : items)
        AppendMenuW(menu, MF_STRING, UINT_PTR(item.id), wide_from_gbk(item.caption).c_str());
    POINT point = menu_point;
    if (point.x == -1 && point.y == -1)
        GetCursorPos(&point);
    menu_point = {-1, -1};
    int chosen = TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, point.x, point.y, hwnd, nullptr);
    DestroyMenu(menu);
    return chosen;
}

}  // namespace gui
