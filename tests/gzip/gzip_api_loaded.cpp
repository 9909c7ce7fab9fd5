// The 32-bit GZIP.dll loaded from a file, each call checked around a stdcall thunk.
#include "tests/gzip/gzip_api_loaded.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <type_traits>

#include "tests/gzip/gzip_test_support.h"

extern "C" uint32_t stdcall_checked(const void* function, const uint32_t* words, uint32_t count, int32_t outcome[2]);

namespace gziptest {

namespace {

static_assert(sizeof(void*) == 4, "the checked calls push 32-bit words: build for i686");

void print_and_exit(const std::string& fault) {
    std::fprintf(stderr, "%s\n", fault.c_str());
    std::exit(1);
}

// One per export.
enum Slot {
    kInitCompression,
    kDeInitCompression,
    kCreateCompression,
    kCompress,
    kCompress2,
    kResetCompression,
    kDestroyCompression,
    kInitDecompression,
    kDeInitDecompression,
    kCreateDecompression,
    kDecompress,
    kResetDecompression,
    kDestroyDecompression,
    kSlots
};

Prototype prototype_of[kSlots];
const void* address_of[kSlots];
std::atomic<size_t> calls{0}, faulty{0};
std::atomic<bool> reported[kSlots];

uint32_t call_export(Slot slot, const uint32_t* words, uint32_t count) {
    int32_t outcome[2] = {};
    const uint32_t result = stdcall_checked(address_of[slot], words, count, outcome);
    ++calls;
    if (outcome[0] == 0 && !outcome[1])
        return result;
    ++faulty;
    // Each export's first fault is reported; the rest are only counted.
    if (!reported[slot].exchange(true)) {
        const int32_t pushed = static_cast<int32_t>(4 * count);
        const std::string name = prototype_of[slot].name;
        if (outcome[0] != 0) {
            report_call_fault(name + " took " + std::to_string(pushed - outcome[0]) +
                              " bytes of arguments off the stack; its callers push " + std::to_string(pushed));
        }
        if (outcome[1])
            report_call_fault(name + " changed ebx, esi or edi, which its callers keep values in");
    }
    return result;
}

template <typename T>
uint32_t word(T value) {
    if constexpr (std::is_pointer_v<T>) {
        return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(value));
    } else {
        return static_cast<uint32_t>(value);
    }
}

template <Slot slot, typename Function>
struct Checked;

template <Slot slot, typename... Args>
struct Checked<slot, HRESULT(WINAPI*)(Args...)> {
    static_assert(((sizeof(Args) == 4) && ...), "every argument is one 32-bit word");
    static constexpr size_t argument_bytes = 4 * sizeof...(Args);

    static HRESULT WINAPI call(Args... args) {
        const uint32_t words[] = {word(args)..., 0};  // the 0 only keeps the array from being empty
        return static_cast<HRESULT>(call_export(slot, words, sizeof...(Args)));
    }
};

Api checked_api;

template <Slot slot, typename Function>
void resolve(HMODULE dll, const char* name, Function& member, std::string& missing) {
    using Call = Checked<slot, Function>;
    prototype_of[slot] = {name, Call::argument_bytes};
    address_of[slot] = reinterpret_cast<const void*>(GetProcAddress(dll, name));
    member = &Call::call;
    if (!address_of[slot])
        missing += std::string(" ") + name;
}

}  // namespace

void (*report_call_fault)(const std::string& fault) = print_and_exit;

void load_dll(const char* path) {
    // Wine takes Z:/...; Windows documents only backslashes for LoadLibrary.
    const std::filesystem::path file = std::filesystem::path(path).make_preferred();
    HMODULE dll = LoadLibraryW(file.c_str());
    if (!dll) {
        std::fprintf(stderr, "LoadLibrary(%s) failed: error %lu\n", path, GetLastError());
        std::exit(1);
    }
    std::string missing;
    Api& a = checked_api;
    resolve<kInitCompression>(dll, "InitCompression", a.InitCompression, missing);
    resolve<kDeInitCompression>(dll, "DeInitCompression", a.DeInitCompression, missing);
    resolve<kCreateCompression>(dll, "CreateCompression", a.CreateCompression, missing);
    resolve<kCompress>(dll, "Compress", a.Compress, missing);
    resolve<kCompress2>(dll, "Compress2", a.Compress2, missing);
    resolve<kResetCompression>(dll, "ResetCompression", a.ResetCompression, missing);
    resolve<kDestroyCompression>(dll, "DestroyCompression", a.DestroyCompression, missing);
    resolve<kInitDecompression>(dll, "InitDecompression", a.InitDecompression, missing);
    resolve<kDeInitDecompression>(dll, "DeInitDecompression", a.DeInitDecompression, missing);
    resolve<kCreateDecompression>(dll, "CreateDecompression", a.CreateDecompression, missing);
    resolve<kDecompress>(dll, "Decompress", a.Decompress, missing);
    resolve<kResetDecompression>(dll, "ResetDecompression", a.ResetDecompression, missing);
    resolve<kDestroyDecompression>(dll, "DestroyDecompression", a.DestroyDecompression, missing);
    if (!missing.empty()) {
        std::fprintf(stderr, "%s does not export:%s\n", path, missing.c_str());
        std::exit(1);
    }
}

const Api& api() {
    if (!address_of[0]) {
        std::fprintf(stderr, "GZIP.dll is not loaded\n");
        std::exit(1);
    }
    return checked_api;
}

size_t checked_calls() {
    return calls.load();
}

size_t faulty_calls() {
    return faulty.load();
}

std::span<const Prototype> prototypes() {
    return prototype_of;
}

}  // namespace gziptest
