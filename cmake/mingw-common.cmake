# What the MinGW-w64 toolchain files share; each sets CMAKE_SYSTEM_PROCESSOR and
# QUORLIS_MINGW_TRIPLET first. The -posix compilers give std::thread and std::mutex. Everything is
# linked statically, so that the programs run without the MinGW runtime DLLs beside them.
if(NOT QUORLIS_MINGW_TRIPLET)
  message(FATAL_ERROR "Use cmake/mingw-i686.cmake or cmake/mingw-x86_64.cmake as the toolchain file")
endif()
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${QUORLIS_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORLIS_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORLIS_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUORLIS_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
