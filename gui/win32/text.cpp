#include "internal.h"

namespace gui::win32 {

namespace {

std::wstring to_wide(std::string_view text, UINT code_page) {
    if (text.empty())
        return {};
    int n = MultiByteToWideChar(code_page, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring out(size_t(n), L'\0');
    MultiByteToWideChar(code_page, 0, text.data(), int(text.size()), out.data(), n);
    return out;
}

std::string from_wide(std::wstring_view text, UINT code_page) {
    if (text.empty())
        return {};
    int n = WideCharToMultiByte(code_page, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(code_page, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace

// Always 936, never the ANSI code page: the catalogue is GBK on every Windows display language.
std::wstring wide_from_gbk(std::string_view gbk) {
    return to_wide(gbk, 936);
}
std::string gbk_from_wide(std::wstring_view wide) {
    return from_wide(wide, 936);
}
std::wstring wide_from_utf8(std::string_view utf8) {
    return to_wide(utf8, CP_UTF8);
}
std::string utf8_from_wide(std::wstring_view wide) {
    return from_wide(wide, CP_UTF8);
}

}  // namespace gui::win32
