#!/usr/bin/env bash
# Decodes pictures that no one here wrote with the image library (through
# image_dump under Wine) and with ImageMagick on the Linux side, and compares
# the pixels.
#   compare_reference.sh <suite> <image_dump.exe> <work folder>
# Suites: pngsuite, testpngs (libpng's test pictures), crashers (corrupt on
# purpose: each must fail with an error text), jpeg (libjpeg's test pictures),
# roundtrip (pictures written by us in every writable format, read back by
# ImageMagick).
set -uo pipefail
suite=$1 dump=$2 work=$3
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
png_src=$(bash -c ". '$root/tools/deps/common.sh' && fetch_source libpng1.6") || exit 1
jpeg_src=$(bash -c ". '$root/tools/deps/common.sh' && fetch_source libjpeg-turbo") || exit 1
rm -rf "$work" && mkdir -p "$work"
# The system's own Python: a version manager's shim first on the path can take
# seconds to start, and the comparison starts Python for every picture.
py=/usr/bin/python3
[ -x "$py" ] || py=python3

winpath() { local p=$1; echo "Z:${p//\//\\}"; }

# reference <file> <out.rgba>: prints "w h", or fails when ImageMagick cannot read it.
reference() {
  local size
  size=$(convert "$1" -set colorspace sRGB -coalesce -depth 8 -alpha on -print '%w %h\n' rgba:"$2" 2>/dev/null) ||
    return 1
  [ -n "$size" ] || return 1
  echo "$size"
}

files=()
case $suite in
  pngsuite) files=("$png_src"/contrib/pngsuite/*.png) ;;
  testpngs) files=("$png_src"/contrib/testpngs/*.png) ;;
  crashers) files=("$png_src"/contrib/testpngs/crashers/*.png) ;;
  jpeg) files=("$jpeg_src"/testimages/*.jpg "$jpeg_src"/testimages/*.bmp) ;;
  roundtrip) ;;
  *) echo "unknown suite $suite"; exit 2 ;;
esac

failures=0 checked=0
list="$work/list.txt"
: > "$list"

if [ "$suite" = roundtrip ]; then
  # Sources: libpng's pictures of every colour type (with and without alpha),
  # libjpeg's photograph, and a generated picture with an alpha gradient.
  convert -size 64x48 gradient:red-blue \( -size 64x48 gradient:white-black \) -alpha off \
    -compose copy_opacity -composite "$work/alpha.png"
  srcs=("$png_src"/contrib/testpngs/{gray-8,gray-4,gray-alpha-8,palette-8,palette-4-tRNS,rgb-8,rgb-16,rgb-alpha-8}.png
        "$jpeg_src"/testimages/testorig.jpg "$work/alpha.png")
  n=0
  for src in "${srcs[@]}"; do
    n=$((n + 1))
    printf 'decode\t%s\t%s\n' "$(winpath "$src")" "$(winpath "$work/src$n.pam")" >> "$list"
    for t in 1 2 3 4 5; do
      printf 'convert\t%s\t%s\t%s\n' "$(winpath "$src")" "$t" "$(winpath "$work/out$n.$t")" >> "$list"
    done
  done
  "$root/tools/wine-run.sh" "$dump" "$(winpath "$list")" > "$work/results.txt" 2>"$work/wine.log"
  n=0
  for src in "${srcs[@]}"; do
    n=$((n + 1))
    for t in 1 2 3 4 5; do
      ext=(x bmp gif jpg png ico)
      out="$work/out$n.$t"
      name="$(basename "$src") as ${ext[$t]}"
      if ! grep -q "^OK .*out$n.$t\$\|^OK $(winpath "$src" | sed 's/\\/\\\\/g')\$" "$work/results.txt" && [ ! -s "$out" ]; then
        # The library refuses some combinations by design (JPEG of a colour palette).
        if grep -q "JPEG can save only RGB or GreyScale images" "$work/results.txt" && [ "$t" = 3 ]; then
          continue
        fi
        echo "FAIL $name: not written"; failures=$((failures + 1)); continue
      fi
      cp "$out" "$out.${ext[$t]}"
      if ! size=$(reference "$out.${ext[$t]}" "$work/ref$n.$t.rgba"); then
        echo "FAIL $name: reference cannot read our file"; failures=$((failures + 1)); continue
      fi
      checked=$((checked + 1))
      # What the format carries of the alpha: PNG all of it, BMP and ICO the
      # alpha plane of a true-colour picture; otherwise the colours are compared.
      opts=()
      case "$t:$(basename "$src")" in
        4:*|1:rgb-alpha-8.png|1:alpha.png|5:rgb-alpha-8.png|5:alpha.png) ;;
        *) opts=(--rgb) ;;
      esac
      if [ "$t" = 3 ]; then
        # JPEG: within the error of ImageMagick's own encoding at the same quality.
        convert "$work/src$n.pam" -alpha off -quality 90 -sampling-factor 2x2 "$work/im$n.jpg"
        convert "$work/im$n.jpg" -depth 8 -alpha on rgba:"$work/im$n.rgba"
        ref_db=$("$py" "$here/compare_pam.py" "$work/src$n.pam" "$work/im$n.rgba" $size 0 --rgb --print-psnr)
        opts=(--rgb --psnr "$(awk -v db="$ref_db" 'BEGIN { print db - 1.0 }')")
      fi
      if ! why=$("$py" "$here/compare_pam.py" "$work/src$n.pam" "$work/ref$n.$t.rgba" $size 0 "${opts[@]}"); then
        echo "FAIL $name: $why"; failures=$((failures + 1))
      fi
    done
  done
  echo "$checked checked, $failures failed"
  [ "$checked" -gt 0 ] && [ "$failures" = 0 ]
  exit
fi

i=0
for f in "${files[@]}"; do
  i=$((i + 1))
  printf 'decode\t%s\t%s\n' "$(winpath "$f")" "$(winpath "$work/$i.pam")" >> "$list"
done
"$root/tools/wine-run.sh" "$dump" "$(winpath "$list")" > "$work/results.txt" 2>"$work/wine.log"

i=0
for f in "${files[@]}"; do
  i=$((i + 1))
  name=$(basename "$f")
  result=$(grep -F " $(winpath "$f")" "$work/results.txt" | head -n1)
  if [ -z "$result" ]; then
    echo "FAIL $name: no result (crash?)"; failures=$((failures + 1)); continue
  fi
  checked=$((checked + 1))
  if [ "$suite" = crashers ]; then
    if [[ $result == ERROR* ]] && [[ $result != *"(no text)" ]]; then
      continue
    fi
    # A corrupt ancillary chunk that libpng skips leaves a readable picture: it must then be right.
    if [[ $result == OK* ]] && size=$(reference "$f" "$work/$i.rgba") &&
       "$py" "$here/compare_pam.py" "$work/$i.pam" "$work/$i.rgba" $size 1 >/dev/null; then
      continue
    fi
    echo "FAIL $name: $result"; failures=$((failures + 1)); continue
  fi
  if ! size=$(reference "$f" "$work/$i.rgba"); then
    if [[ $result == ERROR* ]] && [[ $result != *"(no text)" ]]; then continue; fi
    echo "FAIL $name: reference cannot read it, we read it"; failures=$((failures + 1)); continue
  fi
  if [[ $result == ERROR* ]]; then
    echo "FAIL $name: $result"; failures=$((failures + 1)); continue
  fi
  tol=1
  [[ $name == *.jpg ]] && tol=2
  if ! why=$("$py" "$here/compare_pam.py" "$work/$i.pam" "$work/$i.rgba" $size $tol); then
    echo "FAIL $name: $why"; failures=$((failures + 1))
  fi
done
echo "$checked checked, $failures failed"
[ "$checked" -gt 0 ] && [ "$failures" = 0 ]
