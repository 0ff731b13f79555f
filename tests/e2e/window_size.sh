#!/usr/bin/env bash
# The window size read from the preferences: clamped, or the default when incomplete.
source "$(dirname "$0")/lib.sh"

check_size() {
  local prefs=$1 expected=$2
  make_workdir
  printf '%b' "ShowSplash 0\n$prefs" > "$WORK/res/prefs.txt"
  start_tamber
  wait_for_log "Entering main loop..."
  local size
  size=$(window_size)
  quit_tamber; [[ $EXIT_CODE == 0 ]] || fail "exit code"
  [[ "$size" == "$expected" ]] || fail "prefs '$prefs' gave $size, expected $expected"
}

check_size 'OsWindowSizeX 300\nOsWindowSizeY 200\n' 640x480
check_size 'OsWindowSizeX 20000\n' 1024x768
check_size 'OsWindowSizeX 800\nOsWindowSizeY 600\n' 800x600
echo "window_size: ok"
