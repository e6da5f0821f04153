# Native build: the portable code and its unit tests, with ASan and UBSan.
# -DTOVIMO_THREAD_SANITIZER=ON builds a tree with ThreadSanitizer instead,
# for the runs with several AutoCADs (not part of scripts/test.sh).
option(TOVIMO_THREAD_SANITIZER "Build the native tree with ThreadSanitizer" OFF)
if(TOVIMO_THREAD_SANITIZER)
  set(SANITIZE -fsanitize=thread -fno-omit-frame-pointer)
else()
  set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
endif()
add_compile_options(${SANITIZE} -g)
add_link_options(${SANITIZE})

include(${CMAKE_CURRENT_LIST_DIR}/portable.cmake)

# GoogleTest as the system has it built (Debian's libgtest-dev and
# libgmock-dev), which saves compiling it; from its sources otherwise.
find_package(GTest 1.12 QUIET)
if(TARGET GTest::gtest AND TARGET GTest::gmock AND TARGET GTest::gtest_main)
  set(GTEST_LIBRARIES GTest::gtest GTest::gmock GTest::gtest_main)
else()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(GTEST_LIBRARIES gtest gmock gtest_main)
endif()

file(GLOB_RECURSE TEST_DOUBLE_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/doubles/*.cpp)
add_library(test_doubles STATIC ${TEST_DOUBLE_SOURCES})
target_include_directories(test_doubles PUBLIC ${PROJECT_SOURCE_DIR}/tests/doubles)
target_link_libraries(test_doubles PUBLIC tovimo_portable standin_model)
target_precompile_headers(test_doubles REUSE_FROM tovimo_portable)

file(GLOB_RECURSE NATIVE_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/native/*.cpp)
add_executable(native_tests ${NATIVE_TEST_SOURCES})
target_link_libraries(native_tests PRIVATE test_doubles ${GTEST_LIBRARIES})
# GoogleTest's header, compiled once for all the tests.
target_precompile_headers(native_tests PRIVATE <gtest/gtest.h>)

enable_testing()
add_test(NAME native_tests COMMAND native_tests)
set_tests_properties(native_tests PROPERTIES TIMEOUT 600)
# Only the test that reads recorded data gets its folder, so the other
# tests' compiles stay shared in the cache.
set_source_files_properties(${PROJECT_SOURCE_DIR}/tests/native/dwg_dxf_recorded_run_test.cpp
    PROPERTIES COMPILE_DEFINITIONS TOVIMO_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/native/data")
