// The Windows program's entry point.
#include "browser/program.h"
#include "internal.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return program::run();
}
