#!/usr/bin/env bash
# A missing font ends with the 'res' box and exit code 0; a missing texture pack ends
# at once with -1. The preferences are not saved on either path.
source "$(dirname "$0")/lib.sh"

make_workdir
rm "$WORK/res/kanterel.tamberfont"
echo 'ShowSplash 1' > "$WORK/res/prefs.txt"
start_tamber
box=$(xdotool search --sync --name '^Error$' | head -n1)
xdotool windowfocus --sync "$box"
xdotool key Return 2>/dev/null || true
wait_exit; code=$EXIT_CODE
[[ "$code" == 0 ]] || fail "missing font: exit code $code"
grep -q "The 'res' folder could not be found (improper installation?); quitting." "$WORK/stderr.txt" ||
  fail "missing font: no message"
[[ $(tail -n1 "$WORK/tamber_log.txt") == "DetermineSwapChainLength Passed" ]] || fail "missing font: log"
grep -qx 'ShowSplash 1' "$WORK/res/prefs.txt" || fail "prefs were rewritten"

rm -rf "$WORK/res"
make_workdir
rm "$WORK/res/texturepack"
start_tamber
wait_exit; code=$EXIT_CODE
[[ "$code" == 255 ]] || fail "missing texture pack: exit code $code"
[[ $(tail -n1 "$WORK/tamber_log.txt") == "Font loaded" ]] || fail "missing texture pack: log"
echo "missing_resources: ok"
