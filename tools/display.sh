# Sourced: gives the caller an X display. When none is set, starts Xvfb at
# 24 bits per pixel on a free display number (YEB_XVFB_PID is then set) and
# stops it when the caller exits. Callers add their own clean-up steps with
# yeb_at_exit "<command>"; they run in reverse order at exit.
YEB_EXIT_STEPS=()
yeb_at_exit() { YEB_EXIT_STEPS=("$1" "${YEB_EXIT_STEPS[@]}"); }
yeb_run_exit_steps() { local s; for s in "${YEB_EXIT_STEPS[@]}"; do eval "$s" || true; done; }
trap yeb_run_exit_steps EXIT
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    YEB_XVFB_PID=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    if kill -0 "$YEB_XVFB_PID" 2>/dev/null; then export DISPLAY=":$n"; break; fi
    unset YEB_XVFB_PID
  done
  yeb_at_exit 'kill "$YEB_XVFB_PID" 2>/dev/null'
  yeb_at_exit 'wineserver -k 2>/dev/null'
fi
