#!/usr/bin/env bash
# The real program on the demo game folder, driven with the mouse and keys: an open
# drop-down list lies above the buttons under it and takes the click on them; the
# keys go back to the text editor after its "Save?" question is cancelled. Both
# are checked by what the program then saves.
source "$(dirname "$0")/lib.sh"

# Bytes of a loose tag's payload (after its 64-byte header): from an offset, a count, as text.
payload_text() { tail -c +$((65 + $2)) "$1" | head -c "$3"; }

xset r off 2>/dev/null || true
start_on_demo_game

# The structure editor of the collection reference: its Collection list opens over the
# OK and Cancel buttons, and "demo valley colour map" is chosen where OK is drawn.
click 217 200                  # expand "Collection References (1)"
double_click 560 214           # "demo collection reference"
click 328 174                  # the Collection drop-down
click 230 216                  # "demo valley colour map", over the OK button
click 211 223                  # OK saves the tag
reference="$GAME/local/collection references/demo collection reference"
wait_until test -f "$reference" || fail "the structure editor saved nothing"
[[ $(payload_text "$reference" 0 4) == tval ]] || fail "the drop-down chose $(payload_text "$reference" 0 4), not tval"

# A text tag: type, close, cancel "Save?", type again; both letters are saved.
click 217 382                  # expand "Text (5)"
double_click 560 438           # "shared banner"
xdotool key --delay 30 End A
click 735 156                  # its close box: "Save?"
click 631 419                  # Cancel
xdotool key --delay 30 B ctrl+s
banner="$GAME/local/text/shared banner"
wait_until grep -q "line 1AB" "$banner" || fail "the keys after the question went nowhere: $(payload_text "$banner" 0 24)"

quit_tamber; [[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE"
echo "modal_focus: ok"
