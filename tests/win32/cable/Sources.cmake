# The cable tests' Windows parts, added to CableTest by tests/cable when building for Windows.
set(QUORLIS_WIN32_CABLE_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Win32TestFiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Win32FileFailureTest.cpp)
