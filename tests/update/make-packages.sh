#!/usr/bin/env bash
# Makes the update packages of the update tests with Info-ZIP's zip (and, for
# archives zip refuses to make, Python's zipfile):
#   full.zip      readme.txt, config.ini, Replaced.txt, RunProbe.exe, Probe.dll
#   updater.zip   Yeb360Update.exe (new bytes for the updater itself)
#   badcrc.zip    payload.txt stored, one byte of its data changed afterwards
#   wait.zip      WaitProbe.exe (a program that does not end by itself)
#   slip.zip      entries "../evil.txt" and "sub/../../evil2.txt"
#   twin.zip      "readme.txt" and "README.TXT" (one name to a zip reader on Windows)
#   twin-exact.zip  "readme.txt" twice
#   twin-slash.zip  "data/config.ini" and "data\config.ini"
# usage: make-packages.sh <output folder> <folder of the test programs>
set -euo pipefail
out=$1
bin=$2
rm -rf "$out"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cd "$work"
printf 'readme of version 1.1\r\n' > readme.txt
printf '[Settings]\r\nLevel=2\r\n' > config.ini
printf 'replaced by version 1.1\r\n' > Replaced.txt
cp "$bin/UpdateProbe.exe" RunProbe.exe
cp "$bin/UpdateProbeDll.dll" Probe.dll
zip -q -X "$out/full.zip" readme.txt config.ini Replaced.txt RunProbe.exe Probe.dll

cp "$bin/UpdateProbe.exe" WaitProbe.exe
zip -q -X "$out/wait.zip" WaitProbe.exe

mkdir updater && printf 'the new updater program\r\n' > updater/Yeb360Update.exe
(cd updater && zip -q -X "$out/updater.zip" Yeb360Update.exe)

printf 'CRC-MARKER-0123456789 payload that the archive stores as it is\r\n' > payload.txt
zip -q -X -0 "$out/badcrc.zip" payload.txt
python3 - "$out/badcrc.zip" <<'PY'
import sys
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
at = data.index(b"CRC-MARKER-")
data[at] ^= 0x20
open(path, "wb").write(bytes(data))
PY

python3 - "$out/slip.zip" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w") as z:
    z.writestr("../evil.txt", "outside the client folder\r\n")
    z.writestr("sub/../../evil2.txt", "outside the client folder\r\n")
PY
python3 - "$out" <<'PY'
import sys, warnings, zipfile
warnings.simplefilter("ignore")  # zipfile warns of the duplicate names it is asked for
pairs = {
    "twin.zip": ("readme.txt", "README.TXT"),
    "twin-exact.zip": ("readme.txt", "readme.txt"),
    "twin-slash.zip": ("data/config.ini", "data\\config.ini"),
}
for package, (first, last) in pairs.items():
    with zipfile.ZipFile(sys.argv[1] + "/" + package, "w") as z:
        z.writestr(first, "the first entry\r\n")
        z.writestr(last, "the last entry\r\n")
PY
unzip -tq "$out/full.zip" >/dev/null
