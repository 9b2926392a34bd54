# 64-bit Windows: the twin build that runs the tests on machines without
# 32-bit program support.
set(YEB_TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(YEB_TOOLCHAIN_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-common.cmake)
