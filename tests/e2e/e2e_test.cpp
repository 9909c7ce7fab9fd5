// The real program as a process: the first start shows the notice; closing the
// window ends the process with exit code 0 and writes the browser window's four keys;
// the second start shows no notice and stands where the first one was left; a
// search for the GZIP entry offers the support file, and OK writes it.
//
// It runs the program from a folder of its own (a copy of qinglan.exe beside this
// test), so that its config.ini is the test's alone.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/gzip_image.h"

namespace fs = std::filesystem;

namespace {

int passed = 0, failures = 0;

void check(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    (ok ? passed : failures)++;
}

struct Search {
    DWORD process;
    const wchar_t* cls;
    HWND found;
};

BOOL CALLBACK match(HWND hwnd, LPARAM lparam) {
    auto* s = reinterpret_cast<Search*>(lparam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (pid == s->process && lstrcmpW(cls, s->cls) == 0 && IsWindowVisible(hwnd)) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The process's visible top-level window of a class, waiting up to timeout_ms.
HWND wait_for_window(DWORD process, const wchar_t* cls, DWORD timeout_ms) {
    for (DWORD waited = 0; waited <= timeout_ms; waited += 100) {
        Search s{process, cls, nullptr};
        EnumWindows(match, reinterpret_cast<LPARAM>(&s));
        if (s.found)
            return s.found;
        Sleep(100);
    }
    return nullptr;
}

std::wstring text_of(HWND hwnd) {
    wchar_t buffer[512] = {};
    GetWindowTextW(hwnd, buffer, 512);
    return buffer;
}

PROCESS_INFORMATION start(const fs::path& exe) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + exe.wstring() + L"\"";
    if (!CreateProcessW(exe.wstring().c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        exe.parent_path().wstring().c_str(), &startup, &process))
        std::printf("cannot start %ls (error %lu)\n", exe.wstring().c_str(), GetLastError());
    return process;
}

// Closes the window as its close box does and waits for the process to end.
DWORD close_and_wait(HWND window, const PROCESS_INFORMATION& process) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD code = 999;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

std::wstring profile(const fs::path& ini, const wchar_t* key) {
    wchar_t value[64] = {};
    GetPrivateProfileStringW(L"config", key, L"<missing>", value, 64, ini.wstring().c_str());
    return value;
}

}  // namespace

int main() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    fs::path bin = fs::path(self).parent_path();
    fs::path folder = bin / "e2e";
    fs::create_directories(folder);
    fs::path exe = folder / "qinglan.exe";
    if (!CopyFileW((bin / "qinglan.exe").wstring().c_str(), exe.wstring().c_str(), FALSE)) {
        std::printf("cannot copy the program (error %lu)\n", GetLastError());
        return 1;
    }
    fs::path ini = folder / "config.ini";
    fs::remove(ini);
    fs::remove_all(folder / "download");

    // First start: the notice, then the window.
    PROCESS_INFORMATION first = start(exe);
    HWND notice = wait_for_window(first.dwProcessId, L"#32770", 30000);
    check(notice != nullptr, "the first start shows a message box");
    if (!notice)
        return 1;
    check(text_of(notice) == L"温馨提示", "titled 温馨提示");
    check(text_of(GetDlgItem(notice, 0xFFFF)) ==
              L"注意：初始位置需要用户设置，请勿使用本软件编写有损他人利益的软件，造成的后果全部自负。",
          "the first-run notice");
    check(GetDlgItem(notice, IDCANCEL) == nullptr, "OK only");
    PostMessageW(notice, WM_COMMAND, IDOK, 0);

    HWND window = wait_for_window(first.dwProcessId, L"QinglanWindow", 30000);
    check(window != nullptr, "the browser window is up");
    if (!window)
        return 1;
    check(text_of(window) == L"青岚编程助手1.2.5（正式版）", "its caption");
    SetWindowPos(window, nullptr, 120, 130, 900, 640, SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(300);
    check(close_and_wait(window, first) == 0, "closing the window ends the process with exit code 0");
    check(profile(ini, L"window Left") == L"120" && profile(ini, L"window Top") == L"130" &&
              profile(ini, L"window Winth") == L"900" && profile(ini, L"window High") == L"640",
          "config.ini holds the window's four keys");

    // Second start: no notice, the same place.
    PROCESS_INFORMATION second = start(exe);
    window = wait_for_window(second.dwProcessId, L"QinglanWindow", 30000);
    check(window != nullptr, "the second start shows the browser window");
    if (!window)
        return 1;
    Sleep(1500);  // a notice would be up by now
    check(wait_for_window(second.dwProcessId, L"#32770", 0) == nullptr, "no notice on the second start");
    RECT rc;
    GetWindowRect(window, &rc);
    check(rc.left == 120 && rc.top == 130 && rc.right - rc.left == 900 && rc.bottom - rc.top == 640,
          "the window stands where it was left");

    // The search box and the button "查找" (control ids 101 and 102) lead to GZIP / 压缩,
    // whose display offers the support file.
    SendMessageW(GetDlgItem(window, 101), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"GZIP - 网页"));
    PostMessageW(GetDlgItem(window, 102), BM_CLICK, 0, 0);
    HWND offer = wait_for_window(second.dwProcessId, L"#32770", 30000);
    check(offer && text_of(GetDlgItem(offer, 0xFFFF)) == L"本命令需要 GZIP.dll 才能使用，是否写出文件。",
          "the GZIP entry offers GZIP.dll");
    if (offer)
        PostMessageW(offer, WM_COMMAND, IDOK, 0);
    fs::path written = folder / "download" / "GZIP.dll";
    for (int waited = 0; waited < 100 && !fs::exists(written); ++waited)
        Sleep(100);
    Sleep(300);
    std::ifstream in(written, std::ios::binary);
    std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    auto image = support::gzip_dll_image();
    check(bytes.size() == image.size() && std::equal(bytes.begin(), bytes.end(), image.begin()),
          "OK writes download\\GZIP.dll byte for byte");
    check(close_and_wait(window, second) == 0, "the second run also ends with exit code 0");

    std::printf("%d passed, %d failed\n", passed, failures);
    return failures == 0 ? 0 : 1;
}
