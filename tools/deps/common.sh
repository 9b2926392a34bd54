# Helpers of the dependency builds (sourced).
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/../env.sh"
TOOLCHAIN="$YEB_ROOT/cmake/toolchain-mingw32.cmake"
HOST=i686-w64-mingw32

# fetch_source <source package>: downloads the Debian source package into
# $YEB_DEPS/src/<pkg> and prints the folder of its unpacked original tarball.
# Tries every version apt knows, newest first, because a suite may list a
# version whose .dsc is missing while its original tarball downloads fine.
fetch_source() {
  local pkg=$1 dir="$YEB_DEPS/src/$1"
  mkdir -p "$dir"
  if ! ls "$dir"/*.orig.tar.* >/dev/null 2>&1; then
    ( cd "$dir"
      apt-get source --download-only -qq "$pkg" >/dev/null 2>&1 || true
      if ! ls ./*.orig.tar.* >/dev/null 2>&1; then
        for v in $(apt-cache showsrc "$pkg" | awk '/^Version:/{print $2}' | sort -rV | uniq); do
          apt-get source --download-only -qq "$pkg=$v" >/dev/null 2>&1 || true
          ls ./*.orig.tar.* >/dev/null 2>&1 && break
          # The .dsc may be gone while the tarball is still there: ask for it directly.
          local url
          url=$(apt-get source --print-uris -qq "$pkg=$v" 2>/dev/null | grep -o "'[^']*\.orig\.tar\.[^']*'" | tr -d "'" | head -n1)
          [ -n "$url" ] && curl -fsSLO "$url" && break
        done
      fi )
  fi
  local tarball
  tarball=$(ls "$dir"/*.orig.tar.* | grep -v '\.asc$' | head -n1)
  [ -n "$tarball" ] || { echo "no source for $pkg" >&2; return 1; }
  local unpacked="$dir/unpacked"
  if [ ! -d "$unpacked" ]; then
    mkdir -p "$unpacked.tmp"
    tar -xf "$tarball" -C "$unpacked.tmp" --strip-components=1
    mv "$unpacked.tmp" "$unpacked"
  fi
  echo "$unpacked"
}

stamp_done() { [ -f "$YEB_DEPS/stamps/$1" ]; }
stamp_set() { mkdir -p "$YEB_DEPS/stamps"; touch "$YEB_DEPS/stamps/$1"; }
