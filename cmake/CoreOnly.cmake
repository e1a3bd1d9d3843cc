# Only the standard-library core, the operating-system adapters under it and
# what tests them, without Qt: the fuzzing build (clang with libFuzzer, the
# fuzz targets) and EARTHWORK_CORE_ONLY (the core's GoogleTest tests and the
# corpus replays; the Windows cross build uses it).
if(EARTHWORK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "EARTHWORK_FUZZ needs clang (CXX=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined
                      -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
set(EARTHWORK_CORE_ONLY ON)
enable_testing()

if(CMAKE_CROSSCOMPILING)
  # No GoogleTest is packaged for the target: build Debian's sources with the
  # cross compiler. Its headers count as system headers, and its own code is
  # not held to the project's warnings.
  set(EARTHWORK_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources (Debian: googletest)")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${EARTHWORK_GTEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  foreach(lib gtest gtest_main gmock gmock_main)
    set_property(TARGET ${lib} PROPERTY COMPILE_OPTIONS -w)
  endforeach()
  # Tests are listed when CTest runs (through the emulator), not at build time.
  set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
else()
  find_package(GTest REQUIRED)
endif()

foreach(dir platform/ports platform/files platform/os project earfiles printing reports geopak stickup commands)
  add_subdirectory(${PROJECT_SOURCE_DIR}/src/${dir} ${PROJECT_BINARY_DIR}/src/${dir})
endforeach()
if(NOT EARTHWORK_FUZZ)
  add_subdirectory(${PROJECT_SOURCE_DIR}/tests ${PROJECT_BINARY_DIR}/tests)
endif()
add_subdirectory(${PROJECT_SOURCE_DIR}/fuzz ${PROJECT_BINARY_DIR}/fuzz)
