#!/usr/bin/env bash
# Builds resources/lng/default.LNG (UTF-16LE with byte-order mark, CR LF line
# ends) from its UTF-8 source resources/lng/default.lng.txt. A text cannot
# hold a line break (the table drops LF and ends lines at CR): tooltips that
# need one use the mark-up "<br>". Both files are committed.
set -euo pipefail
dir=$(cd "$(dirname "$0")/../resources/lng" && pwd)
python3 - "$dir/default.lng.txt" "$dir/default.LNG" <<'PY'
import sys
src, dst = sys.argv[1], sys.argv[2]
lines = open(src, encoding="utf-8").read().splitlines()
text = "\r\n".join(lines) + "\r\n"
open(dst, "wb").write(b"\xff\xfe" + text.encode("utf-16-le"))
PY
