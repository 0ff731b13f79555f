#!/usr/bin/env bash
# The real program on the demo game folder, driven with the mouse and keys: browse the
# foundation, copy a tag to the local folder, delete the copy, deactivate an archive;
# then the working set and the window size survive a restart.
source "$(dirname "$0")/lib.sh"

start_on_demo_game

# The browser opens as wide as the window: the archive lists on the left, the tag tree on the right.
click 40 200                   # "foundation" in the active list
click 600 400                  # focus the tag tree
xdotool key ctrl+t; sleep 0.3  # show the groups that have no editor
click 217 214                  # expand "Artifacts (1)"
click 300 228                  # its tag
xdotool key ctrl+k             # Copy To Local
wait_until test -f "$GAME/local/artifacts/demo artifact" || fail "copy to local wrote no loose file"

xdotool key Delete; sleep 0.5  # "Confirm Deletion"
xdotool key Return             # Delete
wait_until test ! -e "$GAME/local/artifacts/demo artifact" || fail "delete left the loose file"

click 40 228                   # "bravo.dng" in the active list
click 40 228 3                 # its menu
click 119 260                  # "Deactivate Selection"
xdotool windowsize --sync "$(tamber_window)" 900 700
sleep 0.5
quit_tamber; [[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE"

expected_set='CodexWorkingSet "foundation.dng;charlie.dng;foxtrot.dng;"'
grep -qxF "$expected_set" "$WORK/res/prefs.txt" || fail "working set not stored: $(grep WorkingSet "$WORK/res/prefs.txt")"
grep -qx 'OsWindowSizeX 900' "$WORK/res/prefs.txt" || fail "window width not stored"

# A second start restores both.
rm -f "$WORK/tamber_log.txt"
start_tamber
wait_for_log "Entering main loop..."
size=$(window_size)
quit_tamber; [[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE"
[[ "$size" == 900x700 ]] || fail "window size after restart: $size"
grep -qxF "$expected_set" "$WORK/res/prefs.txt" || fail "working set lost on restart"
echo "browse_edit: ok"
