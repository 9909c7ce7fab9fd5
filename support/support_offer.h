// Writing the support file that an entry's snippet needs, after asking the user.
#pragma once

#include "gui/gui.h"

namespace support {

// Asks "本命令需要 NAME 才能使用，是否写出文件。"; on OK writes the embedded library
// as download\NAME beside the executable, creating the folder when missing. The file
// appears whole or not at all, and a failure is reported with the path and the
// system's reason.
void offer_support_file(gui::WindowId owner, gui::Text file_name);

}  // namespace support
