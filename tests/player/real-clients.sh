#!/usr/bin/env bash
# Real HTTP clients against the player library's server: curl fetches songs
# and cache files in the local and the buddy forms, ffprobe reads the MP3
# streams, and a cache file that grows while curl reads it arrives whole.
. "$(dirname "$0")/host-common.sh"
host_start 1
cd "$WORK"
ffmpeg -loglevel error -y -f lavfi -i "sine=frequency=523:duration=3" -ac 2 -ar 44100 -b:a 128k song.mp3
cp song.mp3 3af1.cache
LEN=$(stat -c %s song.mp3)
AUTH="user=qz&password=qz"
BASE="http://127.0.0.1:$PORT"

curl -sf --globoff -o local.mp3 "$BASE/song.mp3?$AUTH" || fail "local song"
cmp song.mp3 local.mp3 || fail "local song differs"
curl -sf --globoff -o cache.out "$BASE/3af1.cache?len=$LEN&$AUTH" || fail "local cache stream"
cmp song.mp3 cache.out || fail "cache stream differs"
curl -sf --globoff --interface 127.0.0.2 -o buddy.mp3 \
  "$BASE/playmusic.dll?path=$WINWORK\\song.mp3&len=$LEN&$AUTH" || fail "buddy fetch"
cmp song.mp3 buddy.mp3 || fail "buddy song differs"
# The buddy form is refused from the loopback player's own address rules
# (a buddy must name playmusic.dll) and for the wrong size.
code=$(curl -s --globoff --interface 127.0.0.2 -o /dev/null -w '%{http_code}' "$BASE/song.mp3?$AUTH")
[ "$code" = 401 ] || fail "buddy plain path answered $code"
code=$(curl -s --globoff --interface 127.0.0.2 -o /dev/null -w '%{http_code}' \
  "$BASE/playmusic.dll?path=$WINWORK\\song.mp3&len=12&$AUTH")
[ "$code" = 401 ] || fail "buddy wrong length answered $code"
echo "curl: local, cache and buddy forms byte-identical"

for url in "$BASE/song.mp3?$AUTH" "$BASE/3af1.cache?len=$LEN&$AUTH"; do
  probe=$(ffprobe -v error -show_entries format=format_name,duration -of default=nw=1 "$url") || fail "ffprobe $url"
  echo "$probe" | grep -q '^format_name=mp3$' || fail "ffprobe format: $probe"
  dur=$(echo "$probe" | sed -n 's/^duration=//p')
  awk -v d="$dur" 'BEGIN { exit !(d > 2.9 && d < 3.2) }' || fail "ffprobe duration $dur"
done
echo "ffprobe: reads the served MP3 streams"

# A cache file that appears late and grows while curl reads it.
curl -sf --globoff -o grown.out --max-time 60 "$BASE/77aa.cache?len=$LEN&$AUTH" &
reader=$!
sleep 0.5
head -c 1000 song.mp3 > 77aa.cache
for off in $(seq 1000 4096 "$LEN"); do
  sleep 0.05
  dd if=song.mp3 of=77aa.cache iflag=skip_bytes,count_bytes skip="$off" count=4096 \
    oflag=append conv=notrunc status=none
done
wait "$reader" || fail "growing stream"
cmp song.mp3 grown.out || fail "grown file differs"
echo "growing cache file arrived whole"
