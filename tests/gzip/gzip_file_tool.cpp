// Compresses and decompresses files through the 32-bit GZIP.dll named first, for the
// test that compares its streams with the system's gzip program. Several jobs in one
// run, since each run starts Wine:
//   gzip32_file_tool DLL (compress LEVEL IN OUT | decompress IN OUT)...
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/gzip/gzip_api_loaded.h"
#include "tests/gzip/gzip_test_support.h"

using gziptest::api;
using gziptest::Bytes;

namespace {

Bytes read(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path);
        std::exit(1);
    }
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write(const char* path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path);
        std::exit(1);
    }
}

[[noreturn]] void fail(const char* what, HRESULT hr) {
    std::fprintf(stderr, "%s failed: 0x%08X\n", what, static_cast<unsigned>(hr));
    std::exit(1);
}

// Streams in 32 KB pieces through 16 KB of output, the way file callers do.
Bytes compress(const Bytes& data, int level) {
    PVOID context = nullptr;
    HRESULT hr = api().CreateCompression(&context, GZDLL_FLAG_GZIP);
    if (hr != GZDLL_S_OK)
        fail("CreateCompression", hr);
    Bytes out;
    unsigned char buffer[16384];
    size_t offset = 0;
    do {
        const LONG offered = static_cast<LONG>(std::min<size_t>(data.size() - offset, 32768));
        LONG used = 0, written = 0;
        hr = api().Compress(context, data.data() + offset, offered, buffer, sizeof buffer, &used, &written, level);
        if (hr < 0)
            fail("Compress", hr);
        offset += used;
        out.insert(out.end(), buffer, buffer + written);
    } while (hr == GZDLL_S_OK);
    api().DestroyCompression(context);
    return out;
}

Bytes decompress(const Bytes& data) {
    PVOID context = nullptr;
    HRESULT hr = api().CreateDecompression(&context, GZDLL_FLAG_GZIP);
    if (hr != GZDLL_S_OK)
        fail("CreateDecompression", hr);
    Bytes out;
    unsigned char buffer[16384];
    size_t offset = 0;
    do {
        const LONG offered = static_cast<LONG>(std::min<size_t>(data.size() - offset, 32768));
        LONG used = 0, written = 0;
        hr = api().Decompress(context, data.data() + offset, offered, buffer, sizeof buffer, &used, &written);
        if (hr < 0)
            fail("Decompress", hr);
        offset += used;
        out.insert(out.end(), buffer, buffer + written);
    } while (hr == GZDLL_S_OK);
    if (offset != data.size()) {
        std::fprintf(stderr, "Decompress ended with %zu bytes unused\n", data.size() - offset);
        std::exit(1);
    }
    api().DestroyDecompression(context);
    return out;
}

int usage() {
    std::fprintf(stderr, "usage: gzip32_file_tool DLL (compress LEVEL IN OUT | decompress IN OUT)...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return usage();
    gziptest::load_dll(argv[1]);
    for (int i = 2; i < argc;) {
        if (std::strcmp(argv[i], "compress") == 0 && i + 3 < argc) {
            write(argv[i + 3], compress(read(argv[i + 2]), std::atoi(argv[i + 1])));
            i += 4;
        } else if (std::strcmp(argv[i], "decompress") == 0 && i + 2 < argc) {
            write(argv[i + 2], decompress(read(argv[i + 1])));
            i += 3;
        } else {
            return usage();
        }
    }
    return 0;
}
