#include "support_offer.h"

#include <string>

#include "gui/files.h"
#include "support/gzip_image.h"

namespace support {

namespace {

void tell_failure(gui::WindowId owner, const char* what, const gui::Path& path, const std::string& reason) {
    gui::message_box(owner, std::string(what) + gui::path_text(path) + "\r\n" + reason, "温馨提示", gui::Buttons::ok);
}

}  // namespace

void offer_support_file(gui::WindowId owner, gui::Text file_name) {
    std::string question = "本命令需要 " + std::string(file_name) + " 才能使用，是否写出文件。";
    if (gui::message_box(owner, question, "温馨提示", gui::Buttons::ok_cancel) != gui::Answer::ok)
        return;
    gui::Path folder = gui::join(gui::executable_directory(), "download");
    if (!gui::is_directory(folder)) {
        gui::FileResult created = gui::create_directory(folder);
        if (!created.ok)
            return tell_failure(owner, "无法创建文件夹：", folder, created.reason);
    }
    gui::Path file = gui::join(folder, file_name);
    gui::FileResult written = gui::write_file_replacing(file, gzip_dll_image());
    if (!written.ok)
        tell_failure(owner, "无法写出文件：", file, written.reason);
}

}  // namespace support
