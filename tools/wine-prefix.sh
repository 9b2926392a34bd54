#!/usr/bin/env bash
# Creates the project's Wine prefix of the current architecture (YEB_ARCH) on
# first use: 32- or 64-bit, no installer prompts, no crash dialogs, no sound
# card needed, a CJK font for the Chinese texts.
set -euo pipefail
. "$(dirname "$0")/env.sh"
. "$(dirname "$0")/run-step.sh"
[ -f "$WINEPREFIX/.yeb-ready" ] && exit 0
echo "[setup] creating the $WINEARCH Wine prefix $WINEPREFIX"
rm -rf "$WINEPREFIX"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export DISPLAY=
[ -x "${YEB_WINE%% *}" ] || command -v "$YEB_WINE" >/dev/null ||
  { echo "[setup] step failed: Wine prefix: $YEB_WINE not found (packages wine, wine32:i386, wine64)" >&2; exit 1; }
yeb_run "Wine prefix: $YEB_WINE wineboot -i" "$YEB_WINE" wineboot -i
reg=$(mktemp --suffix=.reg)
font="WenQuanYi Micro Hei"
{
  printf 'REGEDIT4\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\r\n"Audio"=""\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\DllOverrides]\r\n"mscoree"=""\r\n"mshtml"=""\r\n"winemenubuilder.exe"=""\r\n\r\n'
  printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
  for f in "SimSun" "NSimSun" "SimHei" "Microsoft YaHei" "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "Arial" "MS Sans Serif"; do
    printf '"%s"="%s"\r\n' "$f" "$font"
  done
} > "$reg"
yeb_run "Wine prefix: registry settings" "$YEB_WINE" regedit "$reg"
# Chinese face names of the usual fonts, written as UTF-16 by a second file.
python3 - "$reg" "$font" <<'PY'
import sys
path, font = sys.argv[1], sys.argv[2]
names = ["宋体", "新宋体", "黑体", "微软雅黑"]
text = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n"
text += "".join('"%s"="%s"\r\n' % (n, font) for n in names)
open(path, "wb").write(b"\xff\xfe" + text.encode("utf-16-le"))
PY
yeb_run "Wine prefix: Chinese font names" "$YEB_WINE" regedit "$reg"
rm -f "$reg"
wineserver -w
touch "$WINEPREFIX/.yeb-ready"
