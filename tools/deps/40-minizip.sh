# minizip's unzip interface, as a static library over zlib.
. "$(dirname "$0")/common.sh"
stamp_done minizip && exit 0
src=$(fetch_source minizip)
b="$BUILD_ROOT/minizip"; rm -rf "$b"; mkdir -p "$b"
d="$src"; [ -f "$d/unzip.c" ] || d=$(dirname "$(find "$src" -name unzip.c | head -n1)")
for f in unzip ioapi iowin32; do
  yeb_run "minizip for $YEB_ARCH: compile $f.c" \
    $HOST-gcc-posix -O2 -c "$d/$f.c" -I"$d" -I"$YEB_DEPS_PREFIX/include" -o "$b/$f.o"
done
yeb_run "minizip for $YEB_ARCH: archive" $HOST-ar rcs "$b/libminizip.a" "$b/unzip.o" "$b/ioapi.o" "$b/iowin32.o"
mkdir -p "$YEB_DEPS_PREFIX/include/minizip" "$YEB_DEPS_PREFIX/lib"
cp "$d/unzip.h" "$d/ioapi.h" "$d/iowin32.h" "$YEB_DEPS_PREFIX/include/minizip/"
cp "$b/libminizip.a" "$YEB_DEPS_PREFIX/lib/"
stamp_set minizip
