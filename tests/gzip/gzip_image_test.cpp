// The GZIP.dll compiled into the program is the one the build made, byte for byte.
#include "support/gzip_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

TEST(Image, EqualsTheBuiltDll) {
    std::ifstream in(GZIP_DLL_PATH, std::ios::binary);
    ASSERT_TRUE(in) << GZIP_DLL_PATH;
    const std::vector<unsigned char> built(std::istreambuf_iterator<char>(in), {});
    const std::span<const unsigned char> image = support::gzip_dll_image();
    ASSERT_EQ(image.size(), built.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), built.begin()));
}

}  // namespace
