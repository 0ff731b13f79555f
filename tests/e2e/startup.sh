#!/usr/bin/env bash
# Start-up and shutdown of the real program: the log, a clean quit, the splash rule.
source "$(dirname "$0")/lib.sh"
xset r off 2>/dev/null || true

make_workdir
start_tamber
wait_for_log "Entering main loop..."
quit_tamber; code=$EXIT_CODE
[[ "$code" == 0 ]] || fail "exit code $code"
expect_log "In main" "OsSpecificInit Passed" "ReadPrefs Passed" "OsInit Passed" "OsSetWindow Passed" \
  "TamberGL_Init Passed" "Window Adjustment OK" "DetermineSwapChainLength Passed" "Font loaded" \
  "Window System Initialized" "XML Editors Initialized" "Codex Initialized" "Archive Browser Opened" \
  "Entering main loop..." "Shutting down..." "Graceful shutdown complete"
grep -qx 'ShowSplash 0' "$WORK/res/prefs.txt" || fail "ShowSplash 1 did not become 0"

# ShowSplash 2 shows the splash at every start and stays 2.
echo 'ShowSplash 2' > "$WORK/res/prefs.txt"
start_tamber
wait_for_log "Entering main loop..."
quit_tamber; [[ $EXIT_CODE == 0 ]] || fail "second run"
grep -qx 'ShowSplash 2' "$WORK/res/prefs.txt" || fail "ShowSplash 2 changed"
echo "startup: ok"
