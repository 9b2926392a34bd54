#!/usr/bin/env bash
# Configures (once) and builds the project for one architecture (first
# argument i686 or x86_64; default i686, the product) into its build folder:
# everything, or only the targets named after the architecture.
set -euo pipefail
. "$(dirname "$0")/env.sh"
. "$(dirname "$0")/run-step.sh"
yeb_use_arch "${1:-i686}"
if [ ! -f "$YEB_BUILD/CMakeCache.txt" ]; then
  launcher=()
  # A compiler cache, when the machine has one, makes builds of several checkouts quick.
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$YEB_ROOT")}
  fi
  yeb_run "configuring the $YEB_ARCH build in $YEB_BUILD" cmake -S "$YEB_ROOT" -B "$YEB_BUILD" \
    -DCMAKE_TOOLCHAIN_FILE="$YEB_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}"
fi
command -v ccache >/dev/null && export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$YEB_ROOT")}
echo "[build] $YEB_ARCH in $YEB_BUILD"
shift || true
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$YEB_BUILD" -j"${YEB_JOBS:-$(nproc)}" "${targets[@]}" -- --no-print-directory
