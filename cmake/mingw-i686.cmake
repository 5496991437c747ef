# Cross-compiling for 32-bit Windows with MinGW-w64 (Debian's i686-w64-mingw32 tools): the
# program that is shipped.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QUORLIS_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
