#!/usr/bin/env bash
# Configures (once) and builds the whole project into $YEB_BUILD.
set -euo pipefail
. "$(dirname "$0")/env.sh"
if [ ! -f "$YEB_BUILD/CMakeCache.txt" ]; then
  cmake -S "$YEB_ROOT" -B "$YEB_BUILD" -DCMAKE_TOOLCHAIN_FILE="$YEB_ROOT/cmake/toolchain-mingw32.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$YEB_BUILD" -j"$(nproc)" -- --no-print-directory
