# Helpers for end-to-end tests of the real program under Xvfb (DISPLAY must be set;
# scripts/test runs ctest inside xvfb-run). Each test works in its own folder.
set -euo pipefail

RUN_DIR=${TAMBER_RUN_DIR:?}
TAMBER=$RUN_DIR/tamber
WORK=$(mktemp -d /tmp/tamber-e2e.XXXXXX)
TAMBER_PID=""
trap 'cleanup' EXIT

cleanup() {
  if [[ -n "$TAMBER_PID" ]] && kill -0 "$TAMBER_PID" 2>/dev/null; then kill -9 "$TAMBER_PID" 2>/dev/null || true; fi
  rm -rf "$WORK"
}

fail() { echo "FAIL: $*" >&2; exit 1; }

# A working folder with the program's resources (optionally without some of them).
make_workdir() {
  mkdir -p "$WORK/res"
  cp -r "$RUN_DIR/res/." "$WORK/res/"
  rm -f "$WORK/res/prefs.txt"
}

start_tamber() {
  (cd "$WORK" && exec "$TAMBER" >"$WORK/stdout.txt" 2>"$WORK/stderr.txt") &
  TAMBER_PID=$!
}

# Waits (up to 30 s) until the start-up log holds the line.
wait_for_log() {
  local line=$1
  for _ in $(seq 300); do
    grep -qxF "$line" "$WORK/tamber_log.txt" 2>/dev/null && return 0
    kill -0 "$TAMBER_PID" 2>/dev/null || break
    sleep 0.1
  done
  fail "log line '$line' not seen"
}

# Waits (up to 30 s) for the program to end; its exit code goes to EXIT_CODE.
wait_exit() {
  for _ in $(seq 300); do
    kill -0 "$TAMBER_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$TAMBER_PID" 2>/dev/null && fail "the program did not end"
  EXIT_CODE=0
  wait "$TAMBER_PID" || EXIT_CODE=$?
  TAMBER_PID=""
}

# Asks the program to quit with Alt+F4, answers "Really Quit Tamber?" with Enter (Quit)
# and waits for it to end. The log's last start-up line comes just before input is
# taken, so the request is repeated until it lands.
quit_tamber() {
  for _ in $(seq 10); do
    send_keys alt+F4
    sleep 0.3
    send_keys Return
    for _ in $(seq 20); do
      kill -0 "$TAMBER_PID" 2>/dev/null || break 2
      sleep 0.1
    done
  done
  wait_exit
}

tamber_window() { xdotool search --sync --onlyvisible --pid "$TAMBER_PID" 2>/dev/null | head -n1; }

# Sends keys to the program's window.
send_keys() {
  local win
  win=$(tamber_window)
  xdotool windowfocus --sync "$win"
  # Through XTEST to the focused window: the window may be gone before the last release.
  xdotool key --delay 20 "$@" 2>/dev/null || true
}

window_size() {
  xdotool getwindowgeometry "$(tamber_window)" | awk '/Geometry/ {print $2}'
}

expect_log() {
  diff <(printf '%s\n' "$@") "$WORK/tamber_log.txt" >&2 || fail "start-up log differs"
}

# Waits (up to 10 s) until the command succeeds.
wait_until() {
  for _ in $(seq 100); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# Clicks at a point of the screen (button 1, or the one given) and lets the frame pass.
click() { xdotool mousemove --sync "$1" "$2" click "${3:-1}"; sleep 0.3; }
double_click() { xdotool mousemove --sync "$1" "$2" click --repeat 2 --delay 80 1; sleep 0.8; }

# Starts the program on a fresh demo game folder ($GAME) in a 1024 by 768 window and
# waits until it takes input.
GAME=$WORK/game
start_on_demo_game() {
  make_workdir
  "${TAMBER_DEMO:?}" "$GAME" >/dev/null
  printf 'ShowSplash 0\nVeskPath "%s"\nOsWindowSizeX 1024\nOsWindowSizeY 768\n' "$GAME" > "$WORK/res/prefs.txt"
  start_tamber
  wait_for_log "Entering main loop..."
  xdotool windowfocus --sync "$(tamber_window)"
  sleep 0.5
}
