#include <windows.h>

#include "frame/entry.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int) {
    OleInitialize(nullptr);
    int code = flurrin::mdl_main(command_line);
    OleUninitialize();
    return code;
}
