// The browser window's controls, by the names of its layout.
#pragma once

namespace browser {

enum Control : int {
    编辑框1 = 101,  // search box
    按钮1,          // "查找"
    列表框1,        // result list, over the tree while shown
    树型框1,        // catalogue tree
};

// The result list's rows at 96 DPI; never lower than its font's line.
constexpr int result_row_height = 15;

constexpr int vk_enter = 13;
constexpr int vk_down = 40;

}  // namespace browser
