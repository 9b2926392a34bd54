# libmpg123 (MP3 decoding for the stand-in media player), static, generic decoder.
. "$(dirname "$0")/common.sh"
stamp_done mpg123 && exit 0
src=$(fetch_source mpg123)
b="$BUILD_ROOT/mpg123"; rm -rf "$b"; mkdir -p "$b"
cd "$b"
yeb_run "mpg123 for $YEB_ARCH: configure" "$src/configure" --host=$HOST --prefix="$YEB_DEPS_PREFIX" \
  --enable-static --disable-shared --with-cpu=generic_fpu --disable-modules \
  CC=$HOST-gcc-posix CXX=$HOST-g++-posix
yeb_run "mpg123 for $YEB_ARCH: build" make -j"$(nproc)"
yeb_run "mpg123 for $YEB_ARCH: install" make install
stamp_set mpg123
