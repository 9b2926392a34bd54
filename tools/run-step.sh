# yeb_run <what> <command...>: runs a setup command quietly; when it fails,
# says which step failed and shows the command's own last lines of output,
# then stops the caller with the command's status. Sourced.
yeb_run() {
  local what=$1; shift
  local log rc=0
  log=$(mktemp /tmp/yeb-step.XXXXXX)
  "$@" >"$log" 2>&1 </dev/null || rc=$?
  if [ $rc -ne 0 ]; then
    {
      echo "[setup] step failed: $what (exit status $rc)"
      echo "[setup] command: $*"
      echo "[setup] its last output:"
      tail -n 40 "$log" | sed 's/^/    /'
    } >&2
    rm -f "$log"
    exit $rc
  fi
  rm -f "$log"
}
