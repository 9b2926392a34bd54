. "$(dirname "$0")/common.sh"
stamp_done libpng && exit 0
src=$(fetch_source libpng1.6)
b="$BUILD_ROOT/libpng"; rm -rf "$b"
yeb_run "libpng for $YEB_ARCH: configure" cmake -S "$src" -B "$b" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$YEB_DEPS_PREFIX" -DPNG_SHARED=OFF -DPNG_STATIC=ON \
  -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_BUILD_ZLIB=OFF -DZLIB_INCLUDE_DIR="$YEB_DEPS_PREFIX/include" \
  -DZLIB_LIBRARY="$YEB_DEPS_PREFIX/lib/libz.a" -DSKIP_INSTALL_EXECUTABLES=ON
yeb_run "libpng for $YEB_ARCH: build" cmake --build "$b" -j"$(nproc)"
yeb_run "libpng for $YEB_ARCH: install" cmake --install "$b"
stamp_set libpng
