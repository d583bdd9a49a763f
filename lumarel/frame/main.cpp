#include <windows.h>

#include "frame/frame.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    return lumarel::runLumarel(instance, commandLine);
}
