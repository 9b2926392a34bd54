# libjpeg-turbo with its default release-6b interface (library version 62).
. "$(dirname "$0")/common.sh"
stamp_done libjpeg && exit 0
src=$(fetch_source libjpeg-turbo)
b="$BUILD_ROOT/libjpeg"; rm -rf "$b"
yeb_run "libjpeg-turbo for $YEB_ARCH: configure" cmake -S "$src" -B "$b" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$YEB_DEPS_PREFIX" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
  -DWITH_TURBOJPEG=OFF -DWITH_JPEG7=OFF -DWITH_JPEG8=OFF
yeb_run "libjpeg-turbo for $YEB_ARCH: build" cmake --build "$b" -j"$(nproc)"
yeb_run "libjpeg-turbo for $YEB_ARCH: install" cmake --install "$b"
stamp_set libjpeg
