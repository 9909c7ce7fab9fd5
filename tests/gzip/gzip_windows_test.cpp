// What only the Windows build of GZIP.dll can show: Destroy given addresses it cannot read.
#include <gtest/gtest.h>

#include "tests/gzip/gzip_test_support.h"

using namespace gziptest;

namespace {

TEST(DestroyOnWindows, UnreadableAddressesAreIgnored) {
    const size_t page = 4096;
    char* released = static_cast<char*>(VirtualAlloc(nullptr, page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(released, nullptr);
    ASSERT_TRUE(VirtualFree(released, 0, MEM_RELEASE));
    char* no_access = static_cast<char*>(VirtualAlloc(nullptr, page, MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS));
    char* guarded = static_cast<char*>(VirtualAlloc(nullptr, page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE | PAGE_GUARD));
    // A readable page followed by a reserved one: a pointer-sized read from its last bytes would fault.
    char* edge = static_cast<char*>(VirtualAlloc(nullptr, 2 * page, MEM_RESERVE, PAGE_NOACCESS));
    ASSERT_TRUE(no_access && guarded && edge);
    ASSERT_TRUE(VirtualAlloc(edge, page, MEM_COMMIT, PAGE_READWRITE));

    PVOID compression = nullptr, decompression = nullptr;
    ASSERT_EQ(api().CreateCompression(&compression, GZDLL_FLAG_GZIP), GZDLL_S_OK);
    ASSERT_EQ(api().CreateDecompression(&decompression, GZDLL_FLAG_GZIP), GZDLL_S_OK);
    const std::pair<const char*, PVOID> addresses[] = {
        {"0x10", reinterpret_cast<PVOID>(0x10)},
        {"released memory", released},
        {"a PAGE_NOACCESS page", no_access},
        {"a guard page", guarded},
        {"the last bytes before a reserved page", edge + page - 2},
    };
    for (const auto& [what, address] : addresses) {
        SCOPED_TRACE(what);
        EXPECT_EQ(api().DestroyCompression(address), GZDLL_S_OK);
        EXPECT_EQ(api().DestroyDecompression(address), GZDLL_S_OK);
    }
    const Bytes data = sample(2000, 23);
    const Outcome packed = compress(compression, data, 6, Buffers::large());
    EXPECT_EQ(packed.result, GZDLL_S_FALSE);
    EXPECT_TRUE(decompress(decompression, packed.output, Buffers::large()).output == data);
    api().DestroyCompression(compression);
    api().DestroyDecompression(decompression);
    VirtualFree(no_access, 0, MEM_RELEASE);
    VirtualFree(guarded, 0, MEM_RELEASE);
    VirtualFree(edge, 0, MEM_RELEASE);
}

}  // namespace
