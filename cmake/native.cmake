# Native build: the program logic with its unit tests and benchmarks.
include(GoogleTest)

file(GLOB_RECURSE NATIVE_TEST_SOURCES CONFIGURE_DEPENDS tests/*_test.cpp)
list(FILTER NATIVE_TEST_SOURCES EXCLUDE REGEX "/tests/gui/")
add_executable(quorvel_tests ${NATIVE_TEST_SOURCES} ${FIXTURES_H})
target_include_directories(quorvel_tests PRIVATE ${CMAKE_BINARY_DIR}/generated)
target_compile_options(quorvel_tests PRIVATE ${WARNINGS})
target_link_libraries(quorvel_tests PRIVATE test_support gmock_main)
# Each test is an entry of its own, so that a failure names itself.
gtest_discover_tests(quorvel_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)

find_package(benchmark QUIET)
file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS tests/bench/*.cpp)
if(benchmark_FOUND AND BENCH_SOURCES)
  add_executable(quorvel_bench ${BENCH_SOURCES})
  target_link_libraries(quorvel_bench PRIVATE test_support gtest benchmark::benchmark)
endif()
