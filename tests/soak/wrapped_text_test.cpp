// A viewer window closed while its text is wrapped leaves no heap blocks behind:
// Wine's edit control keeps the word-break data it made to wrap the text (a byte per
// character) past its own destruction unless the text is emptied first.
#include "process_counts.h"
#include "tests/behaviour/fixture.h"

TEST_F(Behaviour, AViewerClosedWithAWrappedTextLeavesNoHeapBlocks) {
    start_first_run();
    viewers::TextViewer viewer(viewers::code_window, browser_);
    std::string one_long_line;  // wider than the window: the edit wraps it
    for (int i = 0; i < 1000; ++i)
        one_long_line += G("长");
    auto open_and_close = [&] {
        viewer.open_if_closed();
        viewer.set_text(one_long_line);
        driver::close(viewer.window());
    };
    open_and_close();  // the first time fills the system's caches
    size_t before = soak::heap_bytes_in_use();
    for (int i = 0; i < 10; ++i)
        open_and_close();
    EXPECT_EQ(soak::heap_bytes_in_use(), before);
}
