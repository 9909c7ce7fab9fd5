// Display scale. Every design value of the program (window and control positions and
// sizes, minimum sizes, layout allowances, row heights, column widths, font sizes) is
// given for 96 DPI, and turned into pixels at a window's DPI by this one rule.
#pragma once

#include <cstdint>

#include "gui/gui.h"

namespace gui {

constexpr int design_dpi = 96;

// value x dpi / 96, rounded to the nearest whole pixel, halves away from zero: the
// rounding of the system's MulDiv, so that the program and the system agree.
constexpr int scale(int value, int dpi) {
    int64_t product = int64_t(value) * dpi;
    int64_t half = design_dpi / 2;
    return int((product >= 0 ? product + half : product - half) / design_dpi);
}

constexpr Rect scale(Rect r, int dpi) {
    return {scale(r.left, dpi), scale(r.top, dpi), scale(r.width, dpi), scale(r.height, dpi)};
}

}  // namespace gui
