list(APPEND LUMAREL_CORE_SOURCES engine/flash_state.cpp)
list(APPEND LUMAREL_WIN32_SOURCES engine/animation.cpp)
