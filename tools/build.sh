#!/usr/bin/env bash
# Configures (once) and builds the project for one architecture (first
# argument i686 or x86_64; default i686, the product) into its build folder:
# everything, or only the targets named after the architecture.
set -euo pipefail
. "$(dirname "$0")/env.sh"
. "$(dirname "$0")/run-step.sh"
yeb_use_arch "${1:-i686}"
if [ ! -f "$YEB_BUILD/CMakeCache.txt" ]; then
  yeb_run "configuring the $YEB_ARCH build in $YEB_BUILD" cmake -S "$YEB_ROOT" -B "$YEB_BUILD" \
    -DCMAKE_TOOLCHAIN_FILE="$YEB_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release
fi
echo "[build] $YEB_ARCH in $YEB_BUILD"
shift || true
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$YEB_BUILD" -j"$(nproc)" "${targets[@]}" -- --no-print-directory
