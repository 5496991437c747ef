# window_bench: Import through the real main window and the program's start-up, offscreen.
add_executable(window_bench window_bench.cpp)
target_link_libraries(window_bench PRIVATE bench_support app ui platform_qt)
if(QUORLIS_BUILD_TESTS)
  add_test(NAME Bench.WindowSmoke COMMAND window_bench --rows 1000 --runs 1)
  set_tests_properties(Bench.WindowSmoke PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${CMAKE_CURRENT_BINARY_DIR}/config" TIMEOUT 120)
endif()
