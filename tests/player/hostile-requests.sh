#!/usr/bin/env bash
# Hostile requests against the player library's server: paths that try to
# leave the cache folder, broken escapes, endless and oversized requests. The
# server refuses them, reveals nothing outside its folder and keeps serving.
. "$(dirname "$0")/host-common.sh"
# The server's folder is root/; secret.txt lies beside it, outside.
host_start 1 root
cd "$WORK"
echo "secret" > secret.txt
echo "inside" > root/inside.txt
mkdir -p root/sub
AUTH="user=qz&password=qz"
BASE="http://127.0.0.1:$PORT"
status() { curl -s --globoff --path-as-is -o body.out -w '%{http_code}' "$@"; }

code=$(status "$BASE/inside.txt?$AUTH"); [ "$code" = 200 ] || fail "plain fetch answered $code"
for path in "../secret.txt" "..%2fsecret.txt" "..%5csecret.txt" "%2e%2e/secret.txt" "sub/../../secret.txt" \
            "sub/..%20/secret.txt" "Z:/etc/passwd" "Z:%5cetc%5cpasswd" "/etc/passwd" "%2fetc%2fpasswd" \
            "sub/...%5c..%5csecret.txt" "..%5csecret.cache"; do
  code=$(status "$BASE/$path?$AUTH")
  case "$code" in 403|404) ;; *) fail "$path answered $code" ;; esac
  ! grep -q secret body.out 2>/dev/null || fail "$path revealed the file"
  ! grep -q root: body.out 2>/dev/null || fail "$path revealed /etc/passwd"
done
# A growing-stream request must not follow a file outside either.
code=$(status --max-time 10 "$BASE/..%5csecret.txt?len=7&$AUTH")
[ "$code" = 403 ] || fail "stream outside the folder answered $code"
echo "traversal refused"

for path in "abc%" "abc%4" "%E4" "%E4%B8" "x%zz" "%%%%" "+++"; do
  code=$(status "$BASE/$path?$AUTH")
  [ "$code" = 404 ] || fail "$path answered $code"
done
code=$(status --interface 127.0.0.2 "$BASE/playmusic.dll?path=Z:\\etc\\passwd&len=1&$AUTH")
[ "$code" = 401 ] || fail "buddy fetch of a non-song answered $code"
echo "broken escapes answered"

python3 - "$PORT" <<'PY' || fail "oversized requests"
import socket, sys, time
port = int(sys.argv[1])
def talk(data, wait=10):
    s = socket.create_connection(("127.0.0.1", port))
    s.settimeout(wait)
    try:
        s.sendall(data)
    except OSError:
        pass
    got = b""
    try:
        while True:
            b = s.recv(65536)
            if not b:
                break
            got += b
    except socket.timeout:
        raise SystemExit("no close after an oversized request")
    except OSError:
        pass
    s.close()
    return got
# A request that never ends, and a body larger than any request may be.
r = talk(b"GET /" + b"a" * 300000)
assert r.startswith(b"HTTP/1.0 400"), r[:40]
r = talk(b"POST / HTTP/1.0\r\nContent-Length: 3000000000\r\n\r\n" + b"b" * 200000)
# Many connections that say nothing and go away.
for _ in range(50):
    socket.create_connection(("127.0.0.1", port)).close()
PY
echo "oversized requests dropped"

code=$(status "$BASE/inside.txt?$AUTH"); [ "$code" = 200 ] || fail "server stopped serving ($code)"
echo "server still serves"
