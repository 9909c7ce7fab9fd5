#include "process_counts.h"

#include <utility>
#include <vector>

#include "gui/win32/internal.h"
// After windows.h.
#include <psapi.h>

namespace soak {

namespace {

struct WindowTally {
    DWORD process;
    std::map<std::string, int> by_class;
};

void tally(HWND hwnd, WindowTally& t) {
    wchar_t cls[128] = {};
    GetClassNameW(hwnd, cls, int(std::size(cls)));
    ++t.by_class[gui::win32::utf8_from_wide(cls)];
}

BOOL CALLBACK count_child(HWND hwnd, LPARAM lparam) {
    tally(hwnd, *reinterpret_cast<WindowTally*>(lparam));
    return TRUE;
}

// A window of the process with everything below it (EnumChildWindows goes all the way down).
BOOL CALLBACK count_root(HWND hwnd, LPARAM lparam) {
    auto& t = *reinterpret_cast<WindowTally*>(lparam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == t.process) {
        tally(hwnd, t);
        EnumChildWindows(hwnd, count_child, lparam);
    }
    return TRUE;
}

const std::pair<DWORD, const char*> gdi_types[] = {
    {OBJ_PEN, "pen"},
    {OBJ_BRUSH, "brush"},
    {OBJ_DC, "dc"},
    {OBJ_METADC, "metafile dc"},
    {OBJ_PAL, "palette"},
    {OBJ_FONT, "font"},
    {OBJ_BITMAP, "bitmap"},
    {OBJ_REGION, "region"},
    {OBJ_METAFILE, "metafile"},
    {OBJ_MEMDC, "memory dc"},
    {OBJ_EXTPEN, "extended pen"},
    {OBJ_ENHMETADC, "enhanced metafile dc"},
    {OBJ_ENHMETAFILE, "enhanced metafile"},
    {OBJ_COLORSPACE, "colour space"},
};

const char* gdi_type_name(DWORD type) {
    for (const auto& [value, name] : gdi_types)
        if (value == type)
            return name;
    return "other";
}

}  // namespace

std::map<std::string, int> windows_by_class() {
    WindowTally t{GetCurrentProcessId(), {}};
    EnumWindows(count_root, reinterpret_cast<LPARAM>(&t));
    // Message-only windows are not top-level: EnumWindows skips them.
    for (HWND hwnd = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); hwnd;
         hwnd = FindWindowExW(HWND_MESSAGE, hwnd, nullptr, nullptr))
        count_root(hwnd, reinterpret_cast<LPARAM>(&t));
    return t.by_class;
}

// Windows counts a process's GDI objects itself. Wine answers 0 there, but its
// GetObjectType takes a handle without its generation bits (the high word 0) as the
// object in that slot of the process's handle table, so each of the 65536 slots is
// asked for the type of its live object: the count includes what the system and the
// common controls create for us, not only what our own code creates.
std::map<std::string, int> gdi_objects_by_type() {
    if (DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
        return {{"all", int(counted)}};
    std::map<std::string, int> by_type;
    for (ULONG_PTR slot = 0; slot <= 0xFFFF; ++slot)
        if (DWORD type = GetObjectType(reinterpret_cast<HGDIOBJ>(slot)))
            ++by_type[gdi_type_name(type)];
    return by_type;
}

// Windows reports the commit charge as PrivateUsage and, equally, as PagefileUsage;
// Wine 8 leaves PrivateUsage 0 and reports the process's resident anonymous memory
// and swap (RssAnon + VmSwap) as PagefileUsage.
size_t private_bytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
        return 0;
    return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

size_t heap_bytes_in_use() {
    std::vector<HANDLE> heaps;
    DWORD count = 0;
    do {
        heaps.resize(count + 8);
        count = GetProcessHeaps(DWORD(heaps.size()), heaps.data());
    } while (count > heaps.size());
    heaps.resize(count);
    size_t in_use = 0;
    for (HANDLE heap : heaps) {
        HeapLock(heap);
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heap, &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                in_use += entry.cbData;
        HeapUnlock(heap);
    }
    return in_use;
}

}  // namespace soak
