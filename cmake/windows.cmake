# Windows build (MinGW-w64): the programs, the stand-in AutoCAD and the tests
# that run under Wine. Everything lands in one folder, so that each program
# finds Pelkadu and "Drawing1.dwg" beside itself, as on a user's machine.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

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

# The stand-in AutoCAD: the demo's AutoCAD and the Wine tests' fixture.
file(GLOB STANDIN_WIN32_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/standin/win32/*.cpp)
add_executable(standin-acad WIN32 ${STANDIN_WIN32_SOURCES})
target_link_libraries(standin-acad PRIVATE standin_model user32 kernel32)

# Benchmark, not a test: the drawing collection against a bare file search
# of a generated tree of 20,000 drawings in 500 folders. Run it by hand:
#   scripts/wine-run <build>/bin/collect_bench.exe
add_executable(collect_bench ${PROJECT_SOURCE_DIR}/bench/collect_bench/collect_bench.cpp)
target_link_libraries(collect_bench PRIVATE tovimo_win32 tovimo_portable)
