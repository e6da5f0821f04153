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
  target_link_libraries(tovimo_win32 PUBLIC tovimo_portable user32 shell32 ole32 kernel32)
endif()

# The resource compiler: a program's .rc includes the shared manifest and
# version information from src/win32/resources.
enable_language(RC)
set(TOVIMO_RESOURCES_DIR ${PROJECT_SOURCE_DIR}/src/win32/resources)

# One program per folder under src/win32/programs and standin/win32.
function(tovimo_program name folder)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.rc)
  if(sources)
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${ARGN})
    target_include_directories(${name} PRIVATE ${TOVIMO_RESOURCES_DIR})
    if(MSVC)
      # The manifest comes from the program's .rc; the linker must not add one.
      target_link_options(${name} PRIVATE /MANIFEST:NO)
    endif()
  endif()
endfunction()

# The window program's forms and dialogs, shared by Tovimo.exe and its tests.
file(GLOB_RECURSE TOVIMO_WINDOW_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/win32/mainwindow/*.cpp)
add_library(tovimo_window STATIC ${TOVIMO_WINDOW_SOURCES})
target_include_directories(tovimo_window PUBLIC ${PROJECT_SOURCE_DIR}/src/win32)
target_link_libraries(tovimo_window PUBLIC tovimo_win32 tovimo_portable comctl32 comdlg32 ole32
                      shell32 gdi32 user32 uxtheme)

# The programs.
tovimo_program(Tovimo ${PROJECT_SOURCE_DIR}/src/win32/programs/tovimo tovimo_window)
set_target_properties(Tovimo PROPERTIES WIN32_EXECUTABLE TRUE)
tovimo_program(Pelkadu ${PROJECT_SOURCE_DIR}/src/win32/programs/pelkadu tovimo_win32)
tovimo_program(tovimo-demo ${PROJECT_SOURCE_DIR}/src/win32/programs/tovimo-demo tovimo_win32)

# The drawing that lies beside the programs: opened through its file
# association to start AutoCAD when no AutoCAD program is set.
configure_file(${PROJECT_SOURCE_DIR}/samples/Drawing1.dwg
               ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Drawing1.dwg COPYONLY)

# Wine tests: every tests/wine/*_test.cpp is one test program. Each program
# starts Wine once per CTest entry (starting Wine is the slow part), in a
# Wine prefix that no other program uses at the same time (scripts/wine-run
# takes one), so that programs in different prefixes run side by side.
# The support code is linked whole into each, tests included.
# The test code is compiled for debugging (-Og): it mostly waits on other
# processes, and the build type's -O3 compiled it more than twice as slowly
# (-O0 was no faster: its objects took long to link). The programs and
# libraries under test keep the build type's optimisation.
set(TOVIMO_TEST_CODE_OPTIONS -Og)
target_compile_options(gtest PRIVATE ${TOVIMO_TEST_CODE_OPTIONS})
target_compile_options(gtest_main PRIVATE ${TOVIMO_TEST_CODE_OPTIONS})
target_compile_options(gmock PRIVATE ${TOVIMO_TEST_CODE_OPTIONS})
# The in-memory doubles of the unit tests, so that a Wine test can hold a
# real Win32 implementation and its double to the same expectations.
file(GLOB_RECURSE TEST_DOUBLE_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/doubles/*.cpp)
add_library(test_doubles STATIC ${TEST_DOUBLE_SOURCES})
target_include_directories(test_doubles PUBLIC ${PROJECT_SOURCE_DIR}/tests/doubles)
target_link_libraries(test_doubles PUBLIC tovimo_portable standin_model)
target_compile_options(test_doubles PRIVATE ${TOVIMO_TEST_CODE_OPTIONS})

file(GLOB WINE_TEST_SUPPORT_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/wine/support/*.cpp)
add_library(wine_test_support OBJECT ${WINE_TEST_SUPPORT_SOURCES})
target_include_directories(wine_test_support PUBLIC ${PROJECT_SOURCE_DIR}/tests/wine/support)
target_link_libraries(wine_test_support PUBLIC tovimo_win32 tovimo_portable standin_model gtest)
target_compile_options(wine_test_support PRIVATE ${TOVIMO_TEST_CODE_OPTIONS})
# GoogleTest's header, compiled once for the support code and every test.
target_precompile_headers(wine_test_support PRIVATE <gtest/gtest.h>)

# A small program the tests start to see how programs are started: it
# writes down how it was started.
tovimo_program(wine-probe ${PROJECT_SOURCE_DIR}/tests/wine/support/probe tovimo_win32)
# Drives the window program's windows from the screenshot and demo scripts.
add_executable(window-tool ${PROJECT_SOURCE_DIR}/tests/wine/support/window_tool/main.cpp
               ${PROJECT_SOURCE_DIR}/tests/wine/support/window_finder.cpp
               ${PROJECT_SOURCE_DIR}/tests/wine/support/wait_until.cpp)
target_include_directories(window-tool PRIVATE ${PROJECT_SOURCE_DIR}/tests/wine/support)
target_link_libraries(window-tool PRIVATE tovimo_win32 tovimo_portable)
# Loaded by window-tool's hook into the window program, to draw its open
# menus for the screenshots.
add_library(menu-print SHARED ${PROJECT_SOURCE_DIR}/tests/wine/support/window_tool/menu_print.cpp)
set_target_properties(menu-print PROPERTIES PREFIX "")
target_link_libraries(menu-print PRIVATE user32 gdi32)
if(NOT MSVC)
  target_link_options(menu-print PRIVATE -static -static-libgcc -static-libstdc++)
endif()
add_dependencies(window-tool menu-print)
# A program whose window stops answering, as a frozen program on the desktop.
tovimo_program(wine-hung-window ${PROJECT_SOURCE_DIR}/tests/wine/support/hung_window tovimo_win32)

# wine-run stops a test program at its limit and ends what it left running;
# CTest's own limit is only a backstop behind it. On two loaded cores the
# longest programs (conversion_test, tovimocmd_test) were measured at up to
# 250 s: the limit leaves them room, and still ends a hung one.
set(WINE_TEST_TIMEOUT 600 CACHE STRING "Seconds one Wine test program may run")
math(EXPR WINE_TEST_CTEST_TIMEOUT "${WINE_TEST_TIMEOUT} + 60")
# The longest programs, each split into this many CTest entries
# ("NAME/1of4", ...) that run every Nth of its tests (GoogleTest's
# sharding), so that the parts run side by side. Their entries start first.
set(WINE_TEST_SHARDS tovimocmd_test 5 conversion_test 3 window_run_test 3 window_responsive_test 2
    pelkadu_test 2 hung_window_test 2 acadlink_test 2)
file(GLOB WINE_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/wine/*_test.cpp)
enable_testing()
foreach(source ${WINE_TEST_SOURCES})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE wine_test_support test_doubles tovimo_window tovimo_win32
                        tovimo_portable gtest gmock gtest_main)
  target_compile_options(${name} PRIVATE ${TOVIMO_TEST_CODE_OPTIONS})
  target_precompile_headers(${name} REUSE_FROM wine_test_support)
  list(FIND WINE_TEST_SHARDS ${name} found)
  set(shards 1)
  if(found GREATER_EQUAL 0)
    math(EXPR found "${found} + 1")
    list(GET WINE_TEST_SHARDS ${found} shards)
  endif()
  foreach(shard RANGE 1 ${shards})
    set(entry ${name})
    set(environment "TOVIMO_WINE_TIMEOUT=${WINE_TEST_TIMEOUT}")
    if(shards GREATER 1)
      set(entry ${name}/${shard}of${shards})
      math(EXPR index "${shard} - 1")
      list(APPEND environment GTEST_TOTAL_SHARDS=${shards} GTEST_SHARD_INDEX=${index})
    endif()
    add_test(NAME ${entry} COMMAND ${name})
    set_tests_properties(${entry} PROPERTIES
      TIMEOUT ${WINE_TEST_CTEST_TIMEOUT}
      COST ${shards}
      ENVIRONMENT "${environment}")
  endforeach()
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
# A drop of 10,000 drawings in 100 folders on the main window, scanned and
# filled into the tree, against a bare walk:
#   scripts/wine-run <build>/bin/tree_fill_bench.exe
add_executable(tree_fill_bench ${PROJECT_SOURCE_DIR}/bench/tree_fill_bench/tree_fill_bench.cpp)
target_link_libraries(tree_fill_bench PRIVATE tovimo_window)

# TovimoCmd, the console program that runs a whole conversion from the
# command line. Its Wine test starts it, the stand-in AutoCAD and Pelkadu
# from the bin folder.
tovimo_program(TovimoCmd ${PROJECT_SOURCE_DIR}/src/win32/programs/tovimocmd tovimo_win32)
if(TARGET tovimocmd_test)
  add_dependencies(tovimocmd_test TovimoCmd standin-acad Pelkadu wine-hung-window wine-probe)
endif()
if(TARGET hung_window_test)
  add_dependencies(hung_window_test Pelkadu wine-hung-window)
endif()
if(TARGET program_resources_test)
  target_link_libraries(program_resources_test PRIVATE version)
  add_dependencies(program_resources_test TovimoCmd Pelkadu)
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
  target_include_directories(conversion_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/wine/support
                             ${PROJECT_SOURCE_DIR}/bench/support)
  target_link_libraries(conversion_bench PRIVATE tovimo_win32 tovimo_portable)
  add_dependencies(conversion_bench standin-acad Pelkadu)
  # What a restart of AutoCAD costs beside a run without a fault:
  #   scripts/wine-run <build>/bin/restart_bench.exe
  add_executable(restart_bench ${PROJECT_SOURCE_DIR}/bench/restart_bench/restart_bench.cpp
                 ${PROJECT_SOURCE_DIR}/tests/wine/support/program_guard.cpp)
  target_include_directories(restart_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/wine/support
                             ${PROJECT_SOURCE_DIR}/bench/support)
  target_link_libraries(restart_bench PRIVATE tovimo_win32 tovimo_portable)
  add_dependencies(restart_bench standin-acad Pelkadu)
endif()

# How soon the window fetches a posted message during a run:
#   scripts/wine-run <build>/bin/responsiveness_bench.exe
add_executable(responsiveness_bench ${PROJECT_SOURCE_DIR}/bench/responsiveness_bench/responsiveness_bench.cpp)
target_link_libraries(responsiveness_bench PRIVATE wine_test_support tovimo_win32 tovimo_portable gtest)
add_dependencies(responsiveness_bench Tovimo standin-acad Pelkadu)

# The help page lies beside the programs, where the window program opens it.
configure_file(${PROJECT_SOURCE_DIR}/package/Tovimohelp.html
               ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Tovimohelp.html COPYONLY)

# The zip that users unpack and run: the programs, the help page and a
# settings file with both macros and the default settings. No stand-in, no
# tests and no Drawing1.dwg (users save a real one from their own AutoCAD).
# scripts/package.sh checks its content and puts it in build/dist.
set(TOVIMO_ZIP ${CMAKE_BINARY_DIR}/dist/Tovimo-1.90.zip)
set(TOVIMO_ZIP_PROGRAMS Tovimo TovimoCmd Pelkadu)
set(TOVIMO_ZIP_FILES)
foreach(program ${TOVIMO_ZIP_PROGRAMS})
  list(APPEND TOVIMO_ZIP_FILES $<TARGET_FILE:${program}>)
endforeach()
list(APPEND TOVIMO_ZIP_FILES ${PROJECT_SOURCE_DIR}/package/Tovimohelp.html
     ${PROJECT_SOURCE_DIR}/package/tovimo.ini)
find_program(ZIP_PROGRAM zip REQUIRED)
add_custom_command(
  OUTPUT ${TOVIMO_ZIP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/dist
  COMMAND ${CMAKE_COMMAND} -E rm -f ${TOVIMO_ZIP}
  COMMAND ${ZIP_PROGRAM} -q -X -j ${TOVIMO_ZIP} ${TOVIMO_ZIP_FILES}
  DEPENDS ${TOVIMO_ZIP_PROGRAMS} ${TOVIMO_ZIP_FILES}
  COMMENT "Packing ${TOVIMO_ZIP}"
  VERBATIM)
add_custom_target(tovimo_zip ALL DEPENDS ${TOVIMO_ZIP})

# The zip's tests: the help page names everything it must; the unpacked
# programs convert a drawing under Wine with the settings file of the zip.
foreach(test help_page zip_run)
  add_test(NAME ${test}_test
           COMMAND bash ${PROJECT_SOURCE_DIR}/tests/package/${test}_test.sh
                   ${PROJECT_SOURCE_DIR} ${CMAKE_BINARY_DIR} ${TOVIMO_ZIP})
  set_tests_properties(${test}_test PROPERTIES
    TIMEOUT ${WINE_TEST_CTEST_TIMEOUT}
    ENVIRONMENT "TOVIMO_WINE_TIMEOUT=${WINE_TEST_TIMEOUT}")
endforeach()
