# Helpers of the dependency builds (sourced). The architecture comes from
# YEB_ARCH (tools/env.sh): each one has its own prefix, build folders and stamps.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/../env.sh"
. "$(dirname "${BASH_SOURCE[0]}")/../run-step.sh"
TOOLCHAIN="$YEB_TOOLCHAIN"
HOST=$YEB_HOST
BUILD_ROOT="$YEB_DEPS/build-$YEB_ARCH"

# fetch_source <source package>: downloads the Debian source package into
# $YEB_DEPS/src/<pkg> and prints the folder of its unpacked original tarball.
# Tries every version apt knows, newest first, because a suite may list a
# version whose .dsc is missing while its original tarball downloads fine.
# Sources are shared by the architectures.
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
  tarball=$(ls "$dir"/*.orig.tar.* 2>/dev/null | grep -v '\.asc$' | head -n1)
  [ -n "$tarball" ] || { echo "[setup] step failed: no source package for $pkg (apt-get source found none; are deb-src entries reachable?)" >&2; return 1; }
  local unpacked="$dir/unpacked"
  if [ ! -d "$unpacked" ]; then
    rm -rf "$unpacked.tmp"; mkdir -p "$unpacked.tmp"
    tar -xf "$tarball" -C "$unpacked.tmp" --strip-components=1
    mv "$unpacked.tmp" "$unpacked"
  fi
  echo "$unpacked"
}

stamp_done() { [ -f "$YEB_DEPS_PREFIX/.stamps/$1" ]; }
stamp_set() { mkdir -p "$YEB_DEPS_PREFIX/.stamps"; touch "$YEB_DEPS_PREFIX/.stamps/$1"; }
