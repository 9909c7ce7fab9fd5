// The 64-bit build of the DLL, loaded the way its callers load it: LoadLibrary, then
// GetProcAddress by the plain export names.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/gzip/gzip_test_support.h"

namespace gziptest {

namespace {

template <typename Function>
void resolve(HMODULE dll, const char* name, Function& function, std::string& missing) {
    // Through void (*)(): FARPROC's own type differs from the functions'.
    function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(dll, name)));
    if (!function)
        missing += std::string(" ") + name;
}

Api load() {
    HMODULE dll = LoadLibraryW(L"gzip64.dll");
    if (!dll) {
        std::fprintf(stderr, "LoadLibrary(gzip64.dll) failed: error %lu\n", GetLastError());
        std::exit(1);
    }
    Api api{};
    std::string missing;
    resolve(dll, "InitCompression", api.InitCompression, missing);
    resolve(dll, "DeInitCompression", api.DeInitCompression, missing);
    resolve(dll, "CreateCompression", api.CreateCompression, missing);
    resolve(dll, "Compress", api.Compress, missing);
    resolve(dll, "Compress2", api.Compress2, missing);
    resolve(dll, "ResetCompression", api.ResetCompression, missing);
    resolve(dll, "DestroyCompression", api.DestroyCompression, missing);
    resolve(dll, "InitDecompression", api.InitDecompression, missing);
    resolve(dll, "DeInitDecompression", api.DeInitDecompression, missing);
    resolve(dll, "CreateDecompression", api.CreateDecompression, missing);
    resolve(dll, "Decompress", api.Decompress, missing);
    resolve(dll, "ResetDecompression", api.ResetDecompression, missing);
    resolve(dll, "DestroyDecompression", api.DestroyDecompression, missing);
    if (!missing.empty()) {
        std::fprintf(stderr, "gzip64.dll does not export:%s\n", missing.c_str());
        std::exit(1);
    }
    return api;
}

}  // namespace

const Api& api() {
    static const Api functions = load();
    return functions;
}

}  // namespace gziptest
