# Shared settings of the project's scripts (sourced, not run).
YEB_ROOT=${YEB_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
# Third-party libraries built for the target live outside the source tree.
export YEB_DEPS=${YEB_DEPS:-/var/cache/yeb-deps}
export YEB_DEPS_PREFIX=${YEB_DEPS_PREFIX:-$YEB_DEPS/prefix}
export YEB_BUILD=${YEB_BUILD:-$YEB_ROOT/build}
export WINEPREFIX=${YEB_WINEPREFIX:-$YEB_ROOT/.wine}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# No browser-engine or .NET installer prompts.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
