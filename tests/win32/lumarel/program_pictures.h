// The real bulb pictures for tests: lumarel.exe beside the test program,
// loaded as a data file once. Null when it is missing.
#pragma once
#include <windows.h>

#include <string>

inline HMODULE programPictures() {
    static HMODULE program = [] {
        char path[MAX_PATH];
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string folder(path);
        folder.resize(folder.rfind('\\') + 1);
        return LoadLibraryExA((folder + "lumarel.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }();
    return program;
}
