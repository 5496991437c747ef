# cable_bench: the cable list reader and writer beside grep on a large list.
add_executable(cable_bench cable_bench.cpp)
target_link_libraries(cable_bench PRIVATE bench_support cable)
if(QUORLIS_BUILD_TESTS)
  add_test(NAME Bench.CableSmoke COMMAND cable_bench --rows 1000 --runs 1)
endif()
