# libmpg123 (MP3 decoding for the stand-in media player), static, generic decoder.
. "$(dirname "$0")/common.sh"
stamp_done mpg123 && exit 0
src=$(fetch_source mpg123)
b="$YEB_DEPS/build/mpg123"; rm -rf "$b"; mkdir -p "$b"
( cd "$b"
  "$src/configure" --host=$HOST --prefix="$YEB_DEPS_PREFIX" --enable-static --disable-shared \
    --with-cpu=generic_fpu --disable-modules \
    CC=$HOST-gcc-posix CXX=$HOST-g++-posix >/dev/null
  make -j"$(nproc)" >/dev/null
  make install >/dev/null )
stamp_set mpg123
