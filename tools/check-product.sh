#!/usr/bin/env bash
# The three deliverables, and the style library the client loads from its
# own folder, are 32-bit Windows binaries on every machine.
set -euo pipefail
. "$(dirname "$0")/env.sh"
yeb_use_arch i686
status=0
for f in bin/Yeb.exe bin/Sonatrel.dll bin/scrollbar.skin bin/AutoUpdate/Yeb360Update.exe; do
  kind=$(file -b "$YEB_BUILD/$f" 2>&1 || true)
  case "$kind" in
    PE32\ *Intel\ 80386*) echo "[product] $f: $kind" ;;
    *) echo "[product] $f is not a 32-bit Windows binary: $kind" >&2; status=1 ;;
  esac
done
exit $status
