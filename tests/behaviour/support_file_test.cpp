// The support-file offer of the GZIP entries: the question, the file written whole,
// and failures told to the user.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fixture.h"
#include "support/gzip_image.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

class SupportFile : public Behaviour {
  protected:
    static constexpr size_t compress_position = 291, decompress_position = 292;

    fs::path download() { return fs::u8path(driver::executable_directory().utf8) / "download"; }
    fs::path dll() { return download() / "GZIP.dll"; }

    std::vector<unsigned char> file_bytes(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::vector<unsigned char> image() {
        auto bytes = support::gzip_dll_image();
        return {bytes.begin(), bytes.end()};
    }
    void select_answering(size_t position, gui::Answer answer) {
        driver::forget_message_boxes();
        driver::answer_next_message_box(answer);
        select(position);
    }
};

TEST_F(SupportFile, CancelWritesNothing) {
    start_first_run();
    select_answering(compress_position, gui::Answer::cancel);
    auto boxes = driver::message_boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, G("本命令需要 GZIP.dll 才能使用，是否写出文件。"));
    EXPECT_EQ(boxes[0].title, G("温馨提示"));
    EXPECT_EQ(boxes[0].buttons, gui::Buttons::ok_cancel);
    EXPECT_FALSE(boxes[0].has_icon);
    EXPECT_FALSE(fs::exists(download()));
    EXPECT_EQ(code_text(), std::string(catalogue::snippet_record(275)->snippet));
}

TEST_F(SupportFile, OkWritesTheLibraryByteForByte) {
    start_first_run();
    select_answering(compress_position, gui::Answer::ok);
    EXPECT_EQ(driver::message_boxes().size(), 1u);
    ASSERT_TRUE(fs::is_directory(download()));
    EXPECT_EQ(file_bytes(dll()), image());

    // Again over the existing file, with no question about it.
    {
        std::ofstream old(dll(), std::ios::binary);
        old << "old";
    }
    select_answering(decompress_position, gui::Answer::ok);
    EXPECT_EQ(driver::message_boxes().size(), 1u);
    EXPECT_EQ(file_bytes(dll()), image());
    // Only the library is left in the folder: no temporary file.
    EXPECT_EQ(std::distance(fs::directory_iterator(download()), fs::directory_iterator()), 1);

    // Cancel leaves folder and file as they are.
    select_answering(compress_position, gui::Answer::cancel);
    EXPECT_EQ(file_bytes(dll()), image());
}

// When the file cannot be written the user is told what failed, where and why; an
// earlier file is not touched.
TEST_F(SupportFile, FailuresAreToldWithThePathAndTheReason) {
    start_first_run();
    {
        std::ofstream in_the_way(download(), std::ios::binary);
        in_the_way << "a file where the folder should be";
    }
    select_answering(compress_position, gui::Answer::ok);
    auto boxes = driver::message_boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].title, G("温馨提示"));
    EXPECT_EQ(boxes[1].buttons, gui::Buttons::ok);
    EXPECT_NE(boxes[1].text.find(G("无法创建文件夹")), std::string::npos);
    EXPECT_NE(boxes[1].text.find("download"), std::string::npos);
    EXPECT_GT(boxes[1].text.size(), boxes[1].text.find("download") + 10);  // the system's reason follows
    EXPECT_FALSE(boxes[1].answered);                                       // the test did not answer it: OK is its only button
    fs::remove(download());

    fs::create_directories(dll());  // a folder named like the library
    select_answering(decompress_position, gui::Answer::ok);
    boxes = driver::message_boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[1].text.find(G("无法写出文件")), std::string::npos);
    EXPECT_NE(boxes[1].text.find("GZIP.dll"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(dll()));
    EXPECT_EQ(std::distance(fs::directory_iterator(download()), fs::directory_iterator()), 1);
    driver::forget_message_boxes();
}

#ifdef _WIN32
// A library that another process holds open stays as it was.
TEST_F(SupportFile, ALockedLibrarySurvivesAFailedWrite) {
    start_first_run();
    fs::create_directories(download());
    {
        std::ofstream old(dll(), std::ios::binary);
        old << "old";
    }
    HANDLE lock = CreateFileW(dll().wstring().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    select_answering(compress_position, gui::Answer::ok);
    CloseHandle(lock);
    auto boxes = driver::message_boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[1].text.find(G("无法写出文件")), std::string::npos);
    EXPECT_EQ(file_bytes(dll()), (std::vector<unsigned char>{'o', 'l', 'd'}));
    driver::forget_message_boxes();
}
#endif
