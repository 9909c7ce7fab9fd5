// Helpers for the GZIP.dll tests: the DLL's functions (linked in natively, loaded by
// their plain names in the 32-bit programs), sample data, and caller loops as the DLL's
// callers write them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "support/gzip/gzip_dll.h"

namespace gziptest {

struct Api {
    decltype(&::InitCompression) InitCompression;
    decltype(&::DeInitCompression) DeInitCompression;
    decltype(&::CreateCompression) CreateCompression;
    decltype(&::Compress) Compress;
    decltype(&::Compress2) Compress2;
    decltype(&::ResetCompression) ResetCompression;
    decltype(&::DestroyCompression) DestroyCompression;
    decltype(&::InitDecompression) InitDecompression;
    decltype(&::DeInitDecompression) DeInitDecompression;
    decltype(&::CreateDecompression) CreateDecompression;
    decltype(&::Decompress) Decompress;
    decltype(&::ResetDecompression) ResetDecompression;
    decltype(&::DestroyDecompression) DestroyDecompression;
};

// Natively the functions themselves; in the 32-bit programs those of the GZIP.dll they
// loaded (gzip_api_loaded.h), each call checked.
const Api& api();

using Bytes = std::vector<unsigned char>;

// Text-like data with runs of noise: compressible, but not trivially.
Bytes sample(size_t size, uint32_t seed = 1);

// Buffer sizes a caller offers: fixed, or cycling through 1..7 bytes.
struct Buffers {
    LONG input;   // 0: 1..7
    LONG output;  // 0: 1..7
    static Buffers small() { return {0, 0}; }
    static Buffers large() { return {64 * 1024, 64 * 1024}; }
};

std::string describe(Buffers buffers);
std::string hr_text(HRESULT hr);  // 0x8007000D

struct Outcome {
    HRESULT result = GZDLL_S_OK;  // the call that ended the loop
    Bytes output;
    size_t input_used = 0;
    size_t calls = 0;
};

// Offers the input as it is consumed, then calls with no input until S_FALSE. A failed
// call, S_FALSE while input was offered, or more calls than progress allows ends it
// with a test failure.
Outcome compress(PVOID context, std::span<const unsigned char> data, int level, Buffers buffers);

// The usual C caller: offers what is left while the result is S_OK.
Outcome decompress(PVOID context, std::span<const unsigned char> data, Buffers buffers, size_t max_calls = 0);

// Create, compress, destroy. Fails the test if anything fails.
Bytes compress_all(ULONG flags, int level, std::span<const unsigned char> data, Buffers buffers = Buffers::large());
// Create, decompress to the end (S_FALSE), destroy.
Bytes decompress_all(ULONG flags, std::span<const unsigned char> data, Buffers buffers = Buffers::large());

}  // namespace gziptest
