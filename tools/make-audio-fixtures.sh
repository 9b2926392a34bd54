#!/usr/bin/env bash
# Makes the small tagged audio files the song-tag tests read (run once; the
# files are committed). Needs Debian's ffmpeg, lame and id3v2.
set -euo pipefail
out=${1:-$(cd "$(dirname "$0")/.." && pwd)/tests/foundation/data}
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Two seconds of a quiet tone, mono, 8 kHz: small files.
ffmpeg -y -v error -f lavfi -i "sine=frequency=440:sample_rate=8000:duration=2" -ac 1 "$tmp/tone.wav"

# Constant bit rate MP3 with ID3v2.3 (UTF-16 frames, Chinese text) and ID3v1.
lame --quiet -b 16 --resample 8 --id3v2-only --id3v2-utf16 --tt "测试歌曲" --ta "歌手" --tl "专辑" \
  --tg "Pop" "$tmp/tone.wav" "$out/cbr-id3v23.mp3"
id3v2 --id3v1-only -t "Ascii Title" -a "Ascii Artist" -A "Ascii Album" -g 13 "$out/cbr-id3v23.mp3"

# Variable bit rate MP3 (Xing header) with an ID3v2.4 tag written by ffmpeg
# (UTF-8 frames) carrying an album artist.
ffmpeg -y -v error -i "$tmp/tone.wav" -c:a libmp3lame -q:a 9 -ar 8000 -id3v2_version 4 \
  -metadata title="Four Title" -metadata album_artist="Album Artist" -metadata genre="Jazz" \
  "$out/vbr-id3v24.mp3"

# MP3 without any tag and without the Info header (the title comes from the
# file name, the duration from the constant bit rate).
lame --quiet -t -b 16 --resample 8 "$tmp/tone.wav" "$out/untagged.mp3"

# WMA with a content description and extended descriptions.
ffmpeg -y -v error -i "$tmp/tone.wav" -c:a wmav2 -b:a 24k -ar 8000 \
  -metadata title="WMA 标题" -metadata author="WMA Artist" -metadata album="WMA Album" \
  -metadata genre="Classical" "$out/tagged.wma"

ls -l "$out"/*.mp3 "$out"/*.wma
