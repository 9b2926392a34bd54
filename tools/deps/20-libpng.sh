. "$(dirname "$0")/common.sh"
stamp_done libpng && exit 0
src=$(fetch_source libpng1.6)
b="$YEB_DEPS/build/libpng"; rm -rf "$b"
cmake -S "$src" -B "$b" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$YEB_DEPS_PREFIX" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
  -DPNG_EXECUTABLES=OFF -DPNG_BUILD_ZLIB=OFF -DZLIB_INCLUDE_DIR="$YEB_DEPS_PREFIX/include" \
  -DZLIB_LIBRARY="$YEB_DEPS_PREFIX/lib/libz.a" -DSKIP_INSTALL_EXECUTABLES=ON >/dev/null
cmake --build "$b" -j"$(nproc)" >/dev/null
cmake --install "$b" >/dev/null
stamp_set libpng
