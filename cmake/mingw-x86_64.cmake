# The same programs as 64-bit Windows code. We ship the 32-bit build; this one
# exists so the Windows tests can run under Wine on machines whose kernel
# cannot execute 32-bit code (there, only wine64 runs).
set(MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
