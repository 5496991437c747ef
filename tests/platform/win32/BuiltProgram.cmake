# Included from tests/ for a Windows target: the built Quorlis.exe read on the build machine,
# without running it (BuiltProgramTest.cpp). The check is built with the build machine's compiler
# and GoogleTest, so it needs neither GoogleTest for Windows nor a Wine that runs the program.
find_program(QUORLIS_HOST_CXX NAMES c++ g++ REQUIRED)
find_file(QUORLIS_HOST_GTEST_HEADER gtest/gtest.h PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT QUORLIS_HOST_GTEST_HEADER)
  message(STATUS "Quorlis: no GoogleTest for the build machine (libgtest-dev), so the built program's file is not checked")
  return()
endif()

set(checker ${CMAKE_CURRENT_BINARY_DIR}/BuiltProgramTest)
set(checker_sources
  ${CMAKE_CURRENT_LIST_DIR}/BuiltProgramTest.cpp ${PROJECT_SOURCE_DIR}/res/win32/PeImage.cpp
  ${PROJECT_SOURCE_DIR}/res/win32/DialogTemplate.cpp ${PROJECT_SOURCE_DIR}/res/Resources.cpp)
add_custom_command(
  OUTPUT ${checker}
  COMMAND ${QUORLIS_HOST_CXX} -std=c++20 -O1 -g -Wall -Wextra -Wpedantic -Werror
          -fsanitize=address,undefined -fno-sanitize-recover=undefined -I${PROJECT_SOURCE_DIR}
          ${checker_sources} -lgtest -pthread -o ${checker}
  DEPENDS ${checker_sources} ${PROJECT_SOURCE_DIR}/res/win32/PeImage.h
          ${PROJECT_SOURCE_DIR}/res/win32/DialogTemplate.h ${PROJECT_SOURCE_DIR}/res/Resources.h
          ${PROJECT_SOURCE_DIR}/res/Layout.h ${PROJECT_SOURCE_DIR}/res/ResourceIds.h ${PROJECT_SOURCE_DIR}/res/Commands.h
  COMMENT "Building the check of the built program for the build machine"
  VERBATIM)
add_custom_target(BuiltProgramCheck ALL DEPENDS ${checker})

# Labelled, so that a build without the test programs runs this check alone: ctest -L program.
add_test(NAME BuiltProgram COMMAND ${checker} $<TARGET_FILE:Quorlis> ${CMAKE_SYSTEM_PROCESSOR})
set_tests_properties(BuiltProgram PROPERTIES LABELS program)
