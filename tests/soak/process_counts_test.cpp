// The counts see what is made and what is destroyed again, so that the soak test's
// equal counts mean something.
#include <gtest/gtest.h>

#include <vector>

#include "gui/win32/internal.h"
#include "process_counts.h"

TEST(ProcessCounts, SeeWindowsAndGdiObjectsComeAndGo) {
    // The system gives a thread with windows windows of its own (Wine: an "IME"
    // window): one window stays for the whole test so that they stay too.
    HWND anchor = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    std::map<std::string, int> windows = soak::windows_by_class(), gdi = soak::gdi_objects_by_type();
    ASSERT_GT(gdi["font"], 0) << "the stock fonts exist from the start";

    HWND parent = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND child = CreateWindowExW(0, L"Button", L"", WS_CHILD, 0, 0, 5, 5, parent, nullptr, nullptr, nullptr);
    HWND message_only = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    HFONT font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"");
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_TRUE(parent && child && message_only && font && brush);

    std::map<std::string, int> more_windows = windows, more_gdi = gdi;
    more_windows["Static"] += 2;
    more_windows["Button"] += 1;
    more_gdi["font"] += 1;
    more_gdi["brush"] += 1;
    EXPECT_EQ(soak::windows_by_class(), more_windows);
    EXPECT_EQ(soak::gdi_objects_by_type(), more_gdi);

    DestroyWindow(parent);
    DestroyWindow(message_only);
    DeleteObject(font);
    DeleteObject(brush);
    EXPECT_EQ(soak::windows_by_class(), windows);
    EXPECT_EQ(soak::gdi_objects_by_type(), gdi);
    DestroyWindow(anchor);
}

TEST(ProcessCounts, SeeMemoryInUse) {
    size_t memory = soak::private_bytes(), heap = soak::heap_bytes_in_use();
    ASSERT_GT(memory, 0u);
    {
        std::vector<char> small(100, 1);
        EXPECT_EQ(soak::heap_bytes_in_use(), heap + small.size());
    }
    EXPECT_EQ(soak::heap_bytes_in_use(), heap);
    std::vector<char> large(8 << 20, 1);  // written through, so every page is committed and resident
    EXPECT_GE(soak::private_bytes(), memory + large.size());
    EXPECT_GE(soak::heap_bytes_in_use(), heap + large.size());
}
