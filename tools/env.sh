# Shared settings of the project's scripts (sourced, not run).
#
# Two target architectures share these scripts. The product is always built
# for i686 (32-bit Windows). Machines whose kernel cannot execute 32-bit
# programs cannot run 32-bit Wine, so the tests there run on an x86_64 twin of
# the same tree: its own build folder, dependency prefix and 64-bit Wine prefix.
# yeb_use_arch <i686|x86_64> switches every per-architecture setting.
YEB_ROOT=${YEB_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
# Third-party libraries built for the target live outside the source tree.
export YEB_DEPS=${YEB_DEPS:-/var/cache/yeb-deps}
# The i686 build folder and Wine prefix; the twin's get the suffix -x86_64.
export YEB_BUILD_BASE=${YEB_BUILD_BASE:-${YEB_BUILD:-$YEB_ROOT/build}}
export YEB_WINEPREFIX_BASE=${YEB_WINEPREFIX_BASE:-${YEB_WINEPREFIX:-$YEB_ROOT/.wine}}
export WINEDEBUG=${WINEDEBUG:--all}
# No browser-engine or .NET installer prompts.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

yeb_use_arch() {
  local suffix
  case "$1" in
    i686)
      suffix=""
      export WINEARCH=win32 YEB_WINE=wine YEB_HOST=i686-w64-mingw32
      export YEB_TOOLCHAIN="$YEB_ROOT/cmake/toolchain-mingw32.cmake" ;;
    x86_64)
      suffix=-x86_64
      # The wine command starts the 32-bit loader first; the 64-bit one is called directly.
      export WINEARCH=win64 YEB_WINE=/usr/lib/wine/wine64 YEB_HOST=x86_64-w64-mingw32
      export YEB_TOOLCHAIN="$YEB_ROOT/cmake/toolchain-mingw64.cmake" ;;
    *) echo "unknown architecture '$1' (i686 or x86_64)" >&2; return 1 ;;
  esac
  export YEB_ARCH=$1
  export YEB_DEPS_PREFIX="$YEB_DEPS/prefix$suffix"
  export YEB_BUILD="$YEB_BUILD_BASE$suffix"
  export WINEPREFIX="$YEB_WINEPREFIX_BASE$suffix"
}

# yeb_can_run_i686: true when this machine executes 32-bit x86 programs. Some
# kernels refuse them whatever uname says, so one is run: a 96-byte static
# i386 program that only exits with status 42 (it needs no 32-bit libraries,
# so the answer is the same before and after the packages are installed).
yeb_can_run_i686() {
  local probe rc=0
  probe=$(mktemp /tmp/yeb-i386-probe.XXXXXX)
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null </dev/null || rc=$?
  rm -f "$probe"
  [ "$rc" = 42 ]
}

# yeb_choose_test_arch: sets YEB_TEST_ARCH to the architecture the tests (and
# the demo) run on, and YEB_TEST_ARCH_WHY to the reason. YEB_TEST_ARCH set by
# the caller forces it.
yeb_choose_test_arch() {
  if [ -n "${YEB_TEST_ARCH:-}" ]; then
    case "$YEB_TEST_ARCH" in i686|x86_64) ;; *) echo "YEB_TEST_ARCH must be i686 or x86_64, not '$YEB_TEST_ARCH'" >&2; return 1 ;; esac
    YEB_TEST_ARCH_WHY="chosen by YEB_TEST_ARCH"
  elif yeb_can_run_i686; then
    YEB_TEST_ARCH=i686
    YEB_TEST_ARCH_WHY="this machine runs 32-bit programs"
  else
    YEB_TEST_ARCH=x86_64
    YEB_TEST_ARCH_WHY="this machine cannot execute 32-bit programs, so an x86_64 twin of the tree is built and run under 64-bit Wine"
  fi
  export YEB_TEST_ARCH YEB_TEST_ARCH_WHY
}

yeb_use_arch "${YEB_ARCH:-i686}"

# yeb_use_test_arch: the settings of the architecture this machine runs the
# tests and the demo on (benchmarks use it too).
yeb_use_test_arch() { yeb_choose_test_arch && yeb_use_arch "$YEB_TEST_ARCH"; }
