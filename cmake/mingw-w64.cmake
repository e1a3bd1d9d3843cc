# Cross build for 64-bit Windows with Debian's MinGW-w64 compiler (the
# "posix" thread model, which std::thread and std::mutex need).
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DEARTHWORK_CORE_ONLY=ON ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(EARTHWORK_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${EARTHWORK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${EARTHWORK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${EARTHWORK_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${EARTHWORK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs carry the compiler's runtime, so that they run without its
# DLLs beside them (under Wine as on a user's machine).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Tests run through Wine when it is there; without it they are only built.
find_program(EARTHWORK_WINE NAMES wine64 wine)
if(EARTHWORK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${EARTHWORK_WINE})
endif()
