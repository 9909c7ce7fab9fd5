// What the Win32 implementation's files share, and what the Win32 test driver may
// look at. Nothing outside gui/win32/ and the Win32 test driver includes this.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// The common controls need windows.h first.
#include <commctrl.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "gui/gui.h"

namespace gui::win32 {

struct WindowRecord {
    WindowId id;
    HWND hwnd = nullptr;
    WindowEvents* events = nullptr;
    int dpi = 96;
    int min_width = 0, min_height = 0;  // at 96 DPI
    std::vector<ControlSpec> design;    // the controls as the layout gives them, to scale anew
    std::map<int, HWND> controls;
    std::map<int, std::vector<HTREEITEM>> tree_items;  // by tree control, in display order
};

WindowRecord* record(WindowId window);
WindowRecord* record_of(HWND hwnd);
HWND window_hwnd(WindowId window);
HWND control_hwnd(WindowId window, int control);
int control_id(HWND control);

// GBK (code page 936) and UTF-8 to and from UTF-16.
std::wstring wide_from_gbk(std::string_view gbk);
std::string gbk_from_wide(std::wstring_view wide);
std::wstring wide_from_utf8(std::string_view utf8);
std::string utf8_from_wide(std::wstring_view wide);

// One message through the program's loop logic, and every queued message through it
// (the test driver and the benchmarks run the program's messages this way).
void dispatch(MSG& msg);
void pump_pending();

// The DPI of the screen and of a window, and the message font for a DPI (dpi.cpp).
int system_dpi();
int dpi_of(HWND hwnd);
LOGFONTW message_font_for(int dpi);

// Creates a window's controls at the window's DPI (controls.cpp).
void create_controls(WindowRecord& record);
// Places the controls at their design places for the record's DPI, with fonts for it.
void rescale_controls(WindowRecord& record, int old_dpi);
// The parent's answers for its controls: colours of read-only texts, notifications.
LRESULT handle_control_message(WindowRecord& record, UINT message, WPARAM wparam, LPARAM lparam, bool& handled);

// Where the next popup menu opens: set by a keyboard context-menu request.
void set_menu_point(POINT point);

}  // namespace gui::win32
