# Cross-compiling for 64-bit Windows with MinGW-w64 (Debian's x86_64-w64-mingw32 tools): the same
# program and tests, for machines that run no 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUORLIS_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
