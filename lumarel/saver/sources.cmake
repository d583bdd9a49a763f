list(APPEND LUMAREL_WIN32_SOURCES saver/screen_saver.cpp)
