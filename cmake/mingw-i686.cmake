# Cross-compiling for 32-bit Windows with MinGW-w64 (Debian's i686-w64-mingw32 tools). The -posix
# compilers give std::thread and std::mutex. Everything is linked statically, so that the programs
# run without the MinGW runtime DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(QUORLIS_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_C_COMPILER ${QUORLIS_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORLIS_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORLIS_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUORLIS_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
