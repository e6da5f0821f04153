# Windows build (MinGW-w64): the programs, the stand-in AutoCAD and the tests
# that run under Wine. Everything lands in one folder, so that each program
# finds Pelkadu and "Drawing1.dwg" beside itself, as on a user's machine.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
# GCC 12 warns wrongly (-Wrestrict) about std::string concatenation when it
# inlines it at -O2 (a known false positive of that version).
add_compile_options(-Wno-restrict)

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

include(${CMAKE_CURRENT_LIST_DIR}/portable.cmake)

# The Win32 side of the platform interfaces.
file(GLOB_RECURSE TOVIMO_WIN32_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/win32/platform/*.cpp)
if(TOVIMO_WIN32_SOURCES)
  add_library(tovimo_win32 STATIC ${TOVIMO_WIN32_SOURCES})
  target_include_directories(tovimo_win32 PUBLIC ${PROJECT_SOURCE_DIR}/src/win32)
  target_link_libraries(tovimo_win32 PUBLIC tovimo_portable user32 shell32 kernel32)
endif()

# One program per folder under src/win32/programs and standin/win32.
function(tovimo_program name folder)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.rc)
  if(sources)
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${ARGN})
  endif()
endfunction()

# The programs.
tovimo_program(Pelkadu ${PROJECT_SOURCE_DIR}/src/win32/programs/pelkadu tovimo_win32)
tovimo_program(tovimo-demo ${PROJECT_SOURCE_DIR}/src/win32/programs/tovimo-demo tovimo_win32)

# The drawing that lies beside the programs: opened through its file
# association to start AutoCAD when no AutoCAD program is set.
configure_file(${PROJECT_SOURCE_DIR}/samples/Drawing1.dwg
               ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Drawing1.dwg COPYONLY)

# Wine tests: every tests/wine/*_test.cpp is one test program and one CTest
# entry. Each program starts Wine once (starting Wine is the slow part), and
# they all share one Wine desktop, so they never run at the same time.
# The support code is linked whole into each, tests included.
# The in-memory doubles of the unit tests, so that a Wine test can hold a
# real Win32 implementation and its double to the same expectations.
file(GLOB_RECURSE TEST_DOUBLE_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/doubles/*.cpp)
add_library(test_doubles STATIC ${TEST_DOUBLE_SOURCES})
target_include_directories(test_doubles PUBLIC ${PROJECT_SOURCE_DIR}/tests/doubles)
target_link_libraries(test_doubles PUBLIC tovimo_portable standin_model)

file(GLOB WINE_TEST_SUPPORT_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/wine/support/*.cpp)
add_library(wine_test_support OBJECT ${WINE_TEST_SUPPORT_SOURCES})
target_include_directories(wine_test_support PUBLIC ${PROJECT_SOURCE_DIR}/tests/wine/support)
target_link_libraries(wine_test_support PUBLIC tovimo_win32 tovimo_portable standin_model gtest)

# A small program the tests start to see how programs are started: it
# writes down how it was started.
tovimo_program(wine-probe ${PROJECT_SOURCE_DIR}/tests/wine/support/probe tovimo_win32)
# A program whose window stops answering, as a frozen program on the desktop.
tovimo_program(wine-hung-window ${PROJECT_SOURCE_DIR}/tests/wine/support/hung_window tovimo_win32)

# wine-run stops a test program at its limit and ends what it left running;
# CTest's own limit is only a backstop behind it.
set(WINE_TEST_TIMEOUT 300 CACHE STRING "Seconds one Wine test program may run")
math(EXPR WINE_TEST_CTEST_TIMEOUT "${WINE_TEST_TIMEOUT} + 60")
file(GLOB WINE_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/wine/*_test.cpp)
enable_testing()
foreach(source ${WINE_TEST_SOURCES})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE wine_test_support test_doubles tovimo_win32 tovimo_portable
                        gtest gmock gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${WINE_TEST_CTEST_TIMEOUT}
    RESOURCE_LOCK desktop
    ENVIRONMENT "TOVIMO_WINE_TIMEOUT=${WINE_TEST_TIMEOUT}")
endforeach()

# The stand-in AutoCAD: the demo's AutoCAD and the Wine tests' fixture.
file(GLOB STANDIN_WIN32_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/standin/win32/*.cpp)
add_executable(standin-acad WIN32 ${STANDIN_WIN32_SOURCES})
target_link_libraries(standin-acad PRIVATE standin_model user32 kernel32)

# Benchmark, not a test: the drawing collection against a bare file search
# of a generated tree of 20,000 drawings in 500 folders. Run it by hand:
#   scripts/wine-run <build>/bin/collect_bench.exe
add_executable(collect_bench ${PROJECT_SOURCE_DIR}/bench/collect_bench/collect_bench.cpp)
target_link_libraries(collect_bench PRIVATE tovimo_win32 tovimo_portable)

# TovimoCmd, the console program that runs a whole conversion from the
# command line. Its Wine test starts it, the stand-in AutoCAD and Pelkadu
# from the bin folder.
tovimo_program(TovimoCmd ${PROJECT_SOURCE_DIR}/src/win32/programs/tovimocmd tovimo_win32)
if(TARGET tovimocmd_test)
  add_dependencies(tovimocmd_test TovimoCmd standin-acad Pelkadu wine-hung-window)
endif()
if(TARGET hung_window_test)
  add_dependencies(hung_window_test Pelkadu wine-hung-window)
endif()

# The sample drawings and settings file, copied into the build tree beside
# the bin folder: the conversion tests convert copies of them. Then the
# conversion benchmark (a program that prints figures, not a test). Run it by
# hand, in a Wine session, with a limit that fits its few minutes:
#   TOVIMO_WINE_TIMEOUT=900 scripts/wine-run <build>/bin/conversion_bench.exe
file(GLOB_RECURSE TOVIMO_SAMPLE_FILES CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}/samples
     ${PROJECT_SOURCE_DIR}/samples/*)
foreach(sample ${TOVIMO_SAMPLE_FILES})
  configure_file(${PROJECT_SOURCE_DIR}/samples/${sample} ${CMAKE_BINARY_DIR}/samples/${sample} COPYONLY)
endforeach()
if(TARGET conversion_test)
  add_dependencies(conversion_test standin-acad Pelkadu)
endif()
file(GLOB CONVERSION_BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/conversion_bench/*.cpp)
if(CONVERSION_BENCH_SOURCES)
  add_executable(conversion_bench ${CONVERSION_BENCH_SOURCES}
                 ${PROJECT_SOURCE_DIR}/tests/wine/support/program_guard.cpp)
  target_include_directories(conversion_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/wine/support)
  target_link_libraries(conversion_bench PRIVATE tovimo_win32 tovimo_portable)
  add_dependencies(conversion_bench standin-acad Pelkadu)
endif()
