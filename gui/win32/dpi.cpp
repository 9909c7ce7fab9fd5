// The DPI calls of newer Windows, looked up at run time: the program still starts
// where they do not exist, and then works at the system DPI (Windows 7, 8).
#include "internal.h"

namespace gui::win32 {

namespace {

// GCC accepts a cast through void (*)() between unrelated function pointer types.
template <typename Function>
Function user32_function(const char* name) {
    FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

}  // namespace

int system_dpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int dpi_of(HWND hwnd) {
    static auto get_dpi_for_window = user32_function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (get_dpi_for_window)
        if (UINT dpi = get_dpi_for_window(hwnd))
            return int(dpi);
    return system_dpi();
}

LOGFONTW message_font_for(int dpi) {
    static auto metrics_for_dpi = user32_function<SystemParametersInfoForDpiFunction>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (metrics_for_dpi && metrics_for_dpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, UINT(dpi)))
        return metrics.lfMessageFont;
    // Before Windows 10 1607 the metrics are for the system DPI: scaled to the window's.
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, system_dpi());
    return metrics.lfMessageFont;
}

}  // namespace gui::win32
