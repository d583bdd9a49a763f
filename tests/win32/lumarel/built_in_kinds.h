// Tests with the 47 built-in bulb kinds drawing the program's real pictures:
// lumarel.exe beside the test program, loaded as a data file once. Each test
// draws in an engine context of its own.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "engine/animation.h"
#include "engine/bulb_categories.h"
#include "engine/bulb_object.h"
#include "engine/engine_context.h"

// lumarel.exe as a data file; null when it is missing.
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

class BuiltInKindsTest : public ::testing::Test {
protected:
    lumarel::EngineContext context;  // a normal run, bulbs on the desktop
    lumarel::ScopedBulbContext useContext{context};

    void SetUp() override {
        ASSERT_TRUE(programPictures()) << "lumarel.exe is not beside the tests";
        context.instance = programPictures();
        lumarel::destroyAllBulbs();
        lumarel::clearCategories();
        lumarel::createBuiltInBulbs();
    }
    void TearDown() override {
        lumarel::destroyAllBulbs();
        lumarel::clearCategories();
    }
};
