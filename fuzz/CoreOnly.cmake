# The fuzzing build: the core libraries and the fuzz targets only, built by
# clang with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer. No
# Qt: the core uses the standard library only.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "EARTHWORK_FUZZ needs clang (CXX=clang++)")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined
                    -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)
enable_testing()
find_package(GTest REQUIRED)
foreach(dir platform/ports platform/files project earfiles printing reports geopak stickup commands)
  add_subdirectory(${PROJECT_SOURCE_DIR}/src/${dir} ${PROJECT_BINARY_DIR}/src/${dir})
endforeach()
add_subdirectory(${PROJECT_SOURCE_DIR}/fuzz ${PROJECT_BINARY_DIR}/fuzz)
