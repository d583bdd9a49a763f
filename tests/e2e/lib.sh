# End-to-end test helpers, sourced by every tests/e2e/test_*.sh script.
#
# run-all starts one Xvfb and one Wine prefix for the whole run and exports
# DISPLAY, WINEPREFIX and E2E_RESULTS; a test script run on its own starts its
# own. Every wait is bounded. Checks print one line each and are counted in
# $E2E_RESULTS ("pass"/"fail" lines) for the summary.
set -u
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/lib.sh"

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
E2E_OWN_SESSION=0
E2E_SCREEN=${E2E_SCREEN:-1280x800x24}

e2e_start_display() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$E2E_SCREEN" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  E2E_XVFB_PID=$!
  local number=""
  read -r -t 20 number <"$fifo" || true
  rm -f "$fifo"
  if [ -z "$number" ]; then
    echo "e2e: Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$number"
}

e2e_stop_display() {
  wine_kill
  [ -n "${E2E_XVFB_PID:-}" ] && kill "$E2E_XVFB_PID" 2>/dev/null && wait "$E2E_XVFB_PID" 2>/dev/null
  E2E_XVFB_PID=""
}

# Called at the top of a test script.
e2e_begin() {
  if [ -z "${E2E_RESULTS:-}" ]; then
    E2E_OWN_SESSION=1
    export E2E_RESULTS=$(mktemp)
    export WINEPREFIX=$BUILD_ROOT/$TEST_TREE/e2e-prefix
    "$repo_root/tests/e2e/make-prefix" "$WINEPREFIX"
    e2e_start_display || exit 1
    trap e2e_end EXIT
  fi
  wine_kill
}

e2e_end() {
  e2e_stop_display
  if [ "$E2E_OWN_SESSION" = 1 ]; then
    echo "e2e: $(grep -c '^pass' "$E2E_RESULTS") passed, $(grep -c '^fail' "$E2E_RESULTS") failed"
    rm -f "$E2E_RESULTS"
  fi
}

# Ends every Wine process of our prefix (and the wineserver bound to it).
wine_kill() { timeout 30 wineserver -k 2>/dev/null || true; sleep 0.3; }

wine_run() { timeout -k 5 "${WINE_TIMEOUT:-60}" "$WINE_LOADER" "$@"; }

# probe <command> ...: our probe program, carriage returns removed.
probe() {
  local out rc
  out=$(timeout -k 5 60 "$WINE_LOADER" "$TEST_BIN/probe.exe" "$@" 2>/dev/null)
  rc=$?
  printf '%s' "$out" | tr -d '\r'
  [ -n "$out" ] && echo
  return $rc
}

# start_program VAR exe [args...]: runs a program (of the build, or given by
# an absolute path) in the background; its shell job id goes into VAR, its
# exit code into a file read by wait_program.
start_program() {
  local var=$1 exe=$2
  shift 2
  local rcfile
  rcfile=$(mktemp)
  [[ "$exe" = /* ]] || exe=$TEST_BIN/$exe
  ( wine_run "$exe" "$@" >/dev/null 2>&1; echo $? >"$rcfile" ) &
  printf -v "$var" '%s:%s' "$!" "$rcfile"
}

# wait_program HANDLE SECONDS: waits for a started program; prints its exit
# code, or "timeout".
wait_program() {
  local pid=${1%%:*} rcfile=${1#*:} limit=$2 waited=0
  while kill -0 "$pid" 2>/dev/null; do
    if [ "$waited" -ge $((limit * 10)) ]; then
      echo timeout
      return 1
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  wait "$pid" 2>/dev/null
  cat "$rcfile"
  rm -f "$rcfile"
}

# wait_until SECONDS COMMAND...: runs the command every 0.1 s until it
# succeeds (0) or SECONDS have passed (1).
wait_until() {
  local limit=$1 deadline
  shift
  deadline=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 0.1
  done
}

# output_is EXPECTED COMMAND...: succeeds when the command prints EXPECTED.
output_is() {
  local expected=$1
  shift
  [ "$("$@" 2>/dev/null)" = "$expected" ]
}

# host_window MS: a window of another process (probe host) that lives MS
# milliseconds, for a program to embed into or draw in; prints its handle.
host_window() {
  local out
  out=$(mktemp)
  # Straight to a file, unbuffered: probe() would print only when it ends.
  # The job's own output is detached too, or $(host_window) would wait for it.
  ( timeout -k 5 60 "$WINE_LOADER" "$TEST_BIN/probe.exe" host "$1" 2>/dev/null | sed -u 's/\r//' >"$out" ) >/dev/null 2>&1 &
  wait_until 10 test -s "$out"
  head -n1 "$out"
  rm -f "$out"
}

# visible HWND: prints 1 or 0; has_region HWND: the window has a region
visible() { probe info "$1" | sed -n 's/^visible=//p'; }
has_region() { [ -n "$(probe region "$1")" ]; }

# check_soon_eq NAME EXPECTED COMMAND...: like check_eq on the command's
# output, but waits up to 10 s for it to become EXPECTED.
check_soon_eq() {
  local name=$1 expected=$2
  shift 2
  wait_until 10 output_is "$expected" "$@"
  check_eq "$name" "$expected" "$("$@" 2>/dev/null)"
}

_record() {
  local status=$1 name=$2
  echo "$status $name" >>"$E2E_RESULTS"
  if [ "$status" = pass ]; then echo "  ok    $name"; else echo "  FAIL  $name"; fi
}

# check NAME COMMAND...: passes when the command succeeds.
check() {
  local name=$1
  shift
  if "$@" >/dev/null 2>&1; then _record pass "$name"; else _record fail "$name"; fi
}

# check_eq NAME EXPECTED ACTUAL
check_eq() {
  if [ "$2" = "$3" ]; then
    _record pass "$1"
  else
    _record fail "$1"
    echo "        expected: $2"
    echo "        actual:   $3"
  fi
}

# check_match NAME REGEX ACTUAL
check_match() {
  if printf '%s' "$3" | grep -Eq -- "$2"; then
    _record pass "$1"
  else
    _record fail "$1"
    echo "        wanted /$2/ in: $3"
  fi
}

# Saves the screen as a PNG under build/e2e-shots for a person to look at.
screenshot() {
  local name=$1 dir=$BUILD_ROOT/e2e-shots
  mkdir -p "$dir"
  probe capture "Z:${dir//\//\\}\\$name.bmp" >/dev/null &&
    convert "$dir/$name.bmp" "$dir/$name.png" 2>/dev/null && rm -f "$dir/$name.bmp"
  echo "$dir/$name.png"
}
