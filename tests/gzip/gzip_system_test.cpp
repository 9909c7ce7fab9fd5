// GZIP.dll against the system's gzip program (host build): each reads what the other wrote.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/gzip/gzip_test_support.h"

using namespace gziptest;
namespace fs = std::filesystem;

namespace {

class SystemGzip : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("gzip_dll_test_" + std::to_string(getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path file(const std::string& name) const { return folder_ / name; }

    static void write(const fs::path& path, const Bytes& bytes) {
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    static Bytes read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static int run(const std::string& command) { return std::system(command.c_str()); }

    fs::path folder_;
};

TEST_F(SystemGzip, ReadsWhatTheDllWrote) {
    for (int level : {0, 6, 10}) {
        for (size_t size : {0, 1, 300000}) {
            SCOPED_TRACE("level " + std::to_string(level) + ", " + std::to_string(size) + " bytes");
            const Bytes data = sample(size, 21);
            write(file("dll.gz"), compress_all(GZDLL_FLAG_GZIP, level, data, Buffers::small()));
            ASSERT_EQ(run("gzip -dc '" + file("dll.gz").string() + "' > '" + file("dll.out").string() + "'"), 0);
            EXPECT_TRUE(read(file("dll.out")) == data);
        }
    }
}

// `gzip -c FILE` stores the file's name in the header; from standard input it does not.
TEST_F(SystemGzip, WhatItWroteIsReadByTheDll) {
    for (const char* options : {"-1", "-9", "-9 -n"}) {
        for (bool named : {true, false}) {
            for (size_t size : {0, 1, 300000}) {
                SCOPED_TRACE(std::string("gzip ") + options + (named ? " FILE" : " < FILE") + ", " + std::to_string(size) +
                             " bytes");
                const Bytes data = sample(size, 22);
                write(file("data"), data);
                const std::string input = (named ? " '" : " < '") + file("data").string() + "'";
                ASSERT_EQ(run(std::string("gzip -c ") + options + input + " > '" + file("data.gz").string() + "'"), 0);
                const Bytes packed = read(file("data.gz"));
                EXPECT_TRUE(decompress_all(GZDLL_FLAG_GZIP, packed, Buffers::large()) == data);
                EXPECT_TRUE(decompress_all(GZDLL_FLAG_GZIP, packed, Buffers::small()) == data);
            }
        }
    }
}

}  // namespace
