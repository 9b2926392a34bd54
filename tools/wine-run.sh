#!/usr/bin/env bash
# Runs a Windows program under the project's Wine prefix of its architecture
# (YEB_ARCH; the emulator of the cross build): Chinese locale (ANSI code page
# 936), quiet Wine, no prompts.
#
# Wine's background processes (wineserver, services, explorer) inherit the
# standard handles of the first program that starts them; if those were a
# pipe, the reader (ctest) would wait for them. So the server is started with
# null handles and the program's output goes through files.
. "$(dirname "$0")/env.sh"
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
[ -f "$WINEPREFIX/.yeb-ready" ] || bash "$YEB_ROOT/tools/wine-prefix.sh" >&2 </dev/null || exit 1
wineserver -p60 >/dev/null 2>&1 </dev/null
out=$(mktemp); err=$(mktemp)
"$YEB_WINE" "$@" >"$out" 2>"$err" </dev/null
rc=$?
cat "$out"; cat "$err" >&2
rm -f "$out" "$err"
exit $rc
