# 32-bit Windows: the architecture of the product.
set(YEB_TOOLCHAIN_PREFIX i686-w64-mingw32)
set(YEB_TOOLCHAIN_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-common.cmake)
