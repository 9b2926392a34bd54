# Sourced: gives the caller an X display. When none is set, starts Xvfb at
# 24 bits per pixel on a free display number and stops it when the caller exits.
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    YEB_XVFB_PID=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    if kill -0 "$YEB_XVFB_PID" 2>/dev/null; then export DISPLAY=":$n"; break; fi
  done
  trap '[ -n "${YEB_XVFB_PID:-}" ] && kill "$YEB_XVFB_PID" 2>/dev/null; wineserver -k 2>/dev/null || true' EXIT
fi
