#!/usr/bin/env bash
# Runs a Windows program under the second Wine prefix of the build folder, as
# on another machine: its own Wine server, registry, named objects (the
# client's one-copy mutex among them) and My Documents. The prefix is made on
# first use and kept beside the build (about 20 s once).
#
# Usage: wine-run-apart.sh <result file> <program> [arguments...]
# Windows programs start it too (a "Z:\..." path names a file of the Linux
# side). The program's output goes to "<result file>.log"; its exit code is
# written to the result file once it has ended, so that a caller in another
# Wine prefix, which cannot wait for this process, knows when and how it ended.
unixpath() { local p="${1#[Zz]:}"; echo "${p//\\//}"; }
result=$(unixpath "$1"); shift
. "$(dirname "$0")/env.sh"
yeb_use_arch "${YEB_ARCH:-i686}"
export YEB_WINEPREFIX_BASE="$YEB_BUILD/wine-apart"
yeb_use_arch "$YEB_ARCH"
rm -f "$result"
bash "$YEB_ROOT/tools/wine-run.sh" "$@" >"$result.log" 2>&1 </dev/null
rc=$?
echo "$rc" >"$result.tmp" && mv "$result.tmp" "$result"
exit $rc
