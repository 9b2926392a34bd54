# Cross build for Windows with MinGW-w64 (posix thread model, so that
# std::thread and std::mutex exist). Included by the toolchain file of each
# architecture after it sets YEB_TOOLCHAIN_PREFIX and YEB_TOOLCHAIN_ARCH.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${YEB_TOOLCHAIN_ARCH})

set(CMAKE_C_COMPILER   ${YEB_TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${YEB_TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${YEB_TOOLCHAIN_PREFIX}-windres)
set(CMAKE_AR           /usr/bin/${YEB_TOOLCHAIN_PREFIX}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB       /usr/bin/${YEB_TOOLCHAIN_PREFIX}-ranlib CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${YEB_TOOLCHAIN_PREFIX})
if(DEFINED ENV{YEB_DEPS_PREFIX})
  list(APPEND CMAKE_FIND_ROOT_PATH $ENV{YEB_DEPS_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs built here run under Wine (tests, test discovery), in the Wine
# prefix of their own architecture.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/env;YEB_ARCH=${YEB_TOOLCHAIN_ARCH};${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)
