# Taking the hook in and out is lumarel's (and its 64-bit host's) side of the
# helper; the library itself is built in helper/CMakeLists.txt.
list(APPEND LUMAREL_WIN32_SOURCES helper/hook_owner.cpp)
