# zlib comes packaged for the target (libz-mingw-w64-dev); link it statically.
. "$(dirname "$0")/common.sh"
stamp_done zlib && exit 0
mkdir -p "$YEB_DEPS_PREFIX/lib" "$YEB_DEPS_PREFIX/include"
for f in /usr/$HOST/include/zlib.h /usr/$HOST/include/zconf.h /usr/$HOST/lib/libz.a; do
  [ -f "$f" ] || { echo "[setup] step failed: zlib for $HOST: $f missing (package libz-mingw-w64-dev)" >&2; exit 1; }
done
cp /usr/$HOST/include/zlib.h /usr/$HOST/include/zconf.h "$YEB_DEPS_PREFIX/include/"
cp /usr/$HOST/lib/libz.a "$YEB_DEPS_PREFIX/lib/libz.a"
stamp_set zlib
