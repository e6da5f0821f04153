# The code that needs no window: built the same way in both trees.
file(GLOB_RECURSE TOVIMO_PORTABLE_SOURCES CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/src/portable/*.cpp)
add_library(tovimo_portable STATIC ${TOVIMO_PORTABLE_SOURCES})
target_include_directories(tovimo_portable PUBLIC ${PROJECT_SOURCE_DIR}/src/portable)
# Natively, the standard headers that most of the code includes, compiled
# once: they took about a third of each compile. Targets with the same
# flags reuse them. Not for MinGW's -O3: there GCC 12 then reports its
# false -Warray-bounds and -Wstringop-overflow inside the standard headers.
if(NOT WIN32)
  target_precompile_headers(tovimo_portable PRIVATE <string> <string_view> <vector> <optional>
                            <algorithm> <memory> <functional> <cstdint>)
endif()

# The stand-in AutoCAD's behaviour, hosted by its Windows program and by the
# in-memory window system of the native tests.
file(GLOB_RECURSE STANDIN_MODEL_SOURCES CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/standin/portable/*.cpp)
if(STANDIN_MODEL_SOURCES)
  add_library(standin_model STATIC ${STANDIN_MODEL_SOURCES})
  target_include_directories(standin_model PUBLIC ${PROJECT_SOURCE_DIR}/standin/portable)
  target_link_libraries(standin_model PUBLIC tovimo_portable)
  if(NOT WIN32)
    target_precompile_headers(standin_model REUSE_FROM tovimo_portable)
  endif()
else()
  add_library(standin_model INTERFACE)
endif()
