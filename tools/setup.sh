#!/usr/bin/env bash
# Installs what the build and the tests need (Debian packages only), builds the
# third-party libraries for the Windows target into a cache folder outside the
# source tree, and prepares the project's Wine prefix. Safe to run again: every
# step is skipped when its result is already present.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/tools/env.sh"

log() { printf '[setup] %s\n' "$*"; }

packages=(
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  libz-mingw-w64-dev cmake make nasm dpkg-dev googletest
  wine wine32:i386 wine64 xvfb xauth x11-apps fonts-wqy-microhei locales
  zip unzip imagemagick libxml2-utils ffmpeg curl lame id3v2 python3 nginx-light
)

install_packages() {
  local missing=()
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    need_update=1
  fi
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ] || [ -n "${need_update:-}" ]; then
    log "installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

ensure_deb_src() {
  # apt-get source needs deb-src entries for the configured suites.
  if grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then return; fi
  log "adding deb-src entries"
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: *deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      > /etc/apt/sources.list.d/yeb-deb-src.sources
  fi
  if [ -f /etc/apt/sources.list ] && grep -qE '^deb ' /etc/apt/sources.list; then
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' > /etc/apt/sources.list.d/yeb-deb-src.list
  fi
  apt-get update -qq
}

ensure_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
    log "generating zh_CN.UTF-8"
    sed -i 's/^# *zh_CN.UTF-8/zh_CN.UTF-8/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  fi
}

install_packages
ensure_deb_src
ensure_locale
mkdir -p "$YEB_DEPS" "$YEB_DEPS_PREFIX"
for step in "$here"/tools/deps/*.sh; do
  bash "$step"
done
bash "$here/tools/wine-prefix.sh"
