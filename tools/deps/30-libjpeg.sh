# libjpeg-turbo with its default release-6b interface (library version 62).
. "$(dirname "$0")/common.sh"
stamp_done libjpeg && exit 0
src=$(fetch_source libjpeg-turbo)
b="$YEB_DEPS/build/libjpeg"; rm -rf "$b"
cmake -S "$src" -B "$b" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$YEB_DEPS_PREFIX" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
  -DWITH_TURBOJPEG=OFF -DWITH_JPEG7=OFF -DWITH_JPEG8=OFF >/dev/null
cmake --build "$b" -j"$(nproc)" >/dev/null
cmake --install "$b" >/dev/null
stamp_set libjpeg
