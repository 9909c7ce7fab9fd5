// Paths, files and profile files through the W functions.
#include "gui/files.h"

#include <string>

#include "internal.h"

namespace gui {

using namespace win32;

namespace {

std::wstring wide_path(const Path& path) {
    return wide_from_utf8(path.utf8);
}

// The system's own words for an error, as GBK text.
std::string system_reason(DWORD error) {
    wchar_t* buffer = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n ? std::wstring(buffer, n) : L"error " + std::to_wstring(error);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    return gbk_from_wide(text);
}

FileResult failure() {
    return {false, system_reason(GetLastError())};
}

}  // namespace

Path executable_directory() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (n < buffer.size()) {
            buffer.resize(n);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    return {utf8_from_wide(buffer.substr(0, buffer.find_last_of(L"\\/")))};
}

Path join(const Path& folder, std::string_view name) {
    return {folder.utf8 + "\\" + std::string(name)};
}

bool path_exists(const Path& path) {
    return GetFileAttributesW(wide_path(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool is_directory(const Path& path) {
    DWORD attributes = GetFileAttributesW(wide_path(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

FileResult create_directory(const Path& path) {
    return CreateDirectoryW(wide_path(path).c_str(), nullptr) ? FileResult{} : failure();
}

FileResult write_file_replacing(const Path& path, std::span<const unsigned char> bytes) {
    std::wstring target = wide_path(path);
    std::wstring temporary = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return failure();
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size() &&
              FlushFileBuffers(file);
    FileResult result = ok ? FileResult{} : failure();
    CloseHandle(file);
    if (ok && !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        result = failure();
    if (!result.ok)
        DeleteFileW(temporary.c_str());
    return result;
}

std::string path_text(const Path& path) {
    return gbk_from_wide(wide_path(path));
}

std::string read_profile(const Path& file, std::string_view section, std::string_view key, std::string_view default_value) {
    wchar_t buffer[256];
    DWORD n = GetPrivateProfileStringW(wide_from_utf8(section).c_str(), wide_from_utf8(key).c_str(),
                                       wide_from_utf8(default_value).c_str(), buffer, DWORD(std::size(buffer)),
                                       wide_path(file).c_str());
    return utf8_from_wide(std::wstring_view(buffer, n));
}

void write_profile(const Path& file, std::string_view section, std::string_view key, std::string_view value) {
    WritePrivateProfileStringW(wide_from_utf8(section).c_str(), wide_from_utf8(key).c_str(), wide_from_utf8(value).c_str(),
                               wide_path(file).c_str());
}

}  // namespace gui
