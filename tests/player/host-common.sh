# Starts the player library's host program under Wine over a fresh folder and
# stops it again at exit (sourced by the real-client scripts).
#   host_start <auth string> [served sub-folder]  -> sets WORK (Linux folder), WINWORK, PORT
set -euo pipefail
BUILD=$1
SRC=$2
WORK=$(mktemp -d /tmp/yebplayer.XXXXXX)
WINWORK="Z:${WORK//\//\\}"
HOST_PID=

host_stop() {
  touch "$WORK/stop"
  if [ -n "$HOST_PID" ]; then
    for _ in $(seq 1 200); do kill -0 "$HOST_PID" 2>/dev/null || break; sleep 0.1; done
    kill "$HOST_PID" 2>/dev/null || true
  fi
  rm -rf "$WORK"
}
trap host_stop EXIT

free_port() {
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1]); s.close()'
}

host_start() {
  local want served="$WINWORK"
  [ -z "${2:-}" ] || { mkdir -p "$WORK/$2"; served="$WINWORK\\$2"; }
  want=$(free_port)
  "$SRC/tools/wine-run.sh" "$BUILD/bin/SonatrelHost.exe" "$served" "$want" "$WINWORK\\port" \
    "$WINWORK\\stop" "$1" >"$WORK/host.log" 2>&1 &
  HOST_PID=$!
  for _ in $(seq 1 1200); do
    [ -s "$WORK/port" ] && break
    kill -0 "$HOST_PID" 2>/dev/null || { cat "$WORK/host.log"; echo "host ended early"; exit 1; }
    sleep 0.1
  done
  PORT=$(tr -d '\r\n' <"$WORK/port")
  [ -n "$PORT" ] || { echo "host did not start"; exit 1; }
  echo "server listens on $PORT"
}

fail() { echo "FAIL: $*"; exit 1; }
