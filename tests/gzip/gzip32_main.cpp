// The GZIP.dll tests in a 32-bit process, against the DLL file named on the command line:
// the one the build embeds in the program, or the one the program wrote out.
//   gzip32_dll_test DLL [GoogleTest options]
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/gzip/gzip_api_loaded.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: gzip32_dll_test DLL [GoogleTest options]\n");
        return 2;
    }
    gziptest::load_dll(argv[1]);
    gziptest::report_call_fault = [](const std::string& fault) { ADD_FAILURE() << fault; };
    const int result = RUN_ALL_TESTS();
    std::printf("%zu calls of %s checked for the stack pointer and ebx, esi, edi: %zu faulty\n", gziptest::checked_calls(),
                argv[1], gziptest::faulty_calls());
    return result;
}
