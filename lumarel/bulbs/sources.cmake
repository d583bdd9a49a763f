list(APPEND LUMAREL_WIN32_SOURCES bulbs/library.cpp)
