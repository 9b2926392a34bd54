#!/usr/bin/env bash
# Installs what the build and the tests need (Debian packages only), builds the
# third-party libraries for the Windows target into a cache folder outside the
# source tree, and prepares the project's Wine prefix. Safe to run again: every
# step is skipped when its result is already present.
#
# The libraries are built for i686 (the product) and, when the tests run on
# the x86_64 twin (YEB_TEST_ARCH, see tools/env.sh), for x86_64 too; the Wine
# prefix is made for the architecture the tests run on.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/tools/env.sh"
. "$here/tools/run-step.sh"
[ -n "${YEB_TEST_ARCH:-}" ] || yeb_choose_test_arch >/dev/null

log() { printf '[setup] %s\n' "$*"; }

packages=(
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  libz-mingw-w64-dev cmake make nasm dpkg-dev googletest file
  wine wine32:i386 wine64 xvfb xauth x11-apps fonts-wqy-microhei locales
  zip unzip imagemagick libxml2-utils ffmpeg curl lame id3v2 python3 nginx-light
)
if [ "$YEB_TEST_ARCH" = x86_64 ]; then
  packages+=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64)
fi

install_packages() {
  local missing=() need_update=
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    need_update=1
  fi
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    log "installing: ${missing[*]}"
    yeb_run "package lists (apt-get update)" apt-get update -qq
    yeb_run "installing packages" env DEBIAN_FRONTEND=noninteractive \
      apt-get install -y -qq --no-install-recommends "${missing[@]}"
  elif [ -n "$need_update" ]; then
    yeb_run "package lists (apt-get update)" apt-get update -qq
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
  yeb_run "package lists with sources (apt-get update)" apt-get update -qq
}

ensure_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
    log "generating zh_CN.UTF-8"
    sed -i 's/^# *zh_CN.UTF-8/zh_CN.UTF-8/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
    yeb_run "generating the zh_CN.UTF-8 locale" locale-gen
  fi
}

build_deps() {
  local arch=$1 step
  mkdir -p "$YEB_DEPS"
  for step in "$here"/tools/deps/*.sh; do
    YEB_ARCH=$arch bash "$step"
  done
}

install_packages
ensure_deb_src
ensure_locale
build_deps i686
[ "$YEB_TEST_ARCH" = i686 ] || build_deps "$YEB_TEST_ARCH"
YEB_ARCH=$YEB_TEST_ARCH bash "$here/tools/wine-prefix.sh"
