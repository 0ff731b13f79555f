#!/usr/bin/env bash
# Runs scripts/screenshots of the build into a scratch folder and checks that every
# picture of the user guide was written, has the program window's size (or, cut to its
# window, is smaller) and is not blank. The script itself checks each picture's window
# title; that check is tried here on pictures of the wrong window too.
set -euo pipefail
root=$1 build=$2
out=$(mktemp -d /tmp/tamber-screenshots.XXXXXX)
trap 'rm -rf "$out"' EXIT

status=0
"$root/scripts/screenshots" --out "$out" "$build" || { echo "FAIL: scripts/screenshots failed" >&2; status=1; }

# The program's window while the pictures are made (see start_on_demo_game).
window="1024 768"
cropped=" detail-texture "
for name in archive-browser structure-editor text-editor collection-editor sequence-editor frame-editor \
    standard-builder high-res-builder mesh-editor detail-texture geometry-viewer sound-editor dialog-editor \
    addon-dialog text-search image-conversion log-viewer window-spy; do
  file=$out/$name.png
  if [[ ! -s $file ]]; then
    echo "FAIL: $name.png was not written" >&2; status=1; continue
  fi
  read -r width height colours < <(identify -format '%w %h %k\n' "$file")
  if [[ $cropped == *" $name "* ]]; then
    if (( width < 256 || height < 256 || width >= ${window% *} )); then
      echo "FAIL: $name.png is ${width}x${height}, not its window" >&2; status=1
    fi
  elif [[ "$width $height" != "$window" ]]; then
    echo "FAIL: $name.png is ${width}x${height}, not the program's window" >&2; status=1
  fi
  if (( colours <= 16 )); then
    echo "FAIL: $name.png is blank ($colours colours)" >&2; status=1
  fi
done

# The title check tells the windows apart: each picture passes for its own window only.
title_check() { "$root/scripts/screenshots" --check-title "$out/$1.png" "$2" 2>/dev/null; }
if [[ -s $out/window-spy.png && -s $out/archive-browser.png && -s $out/sequence-editor.png ]]; then
  title_check window-spy "Window Spy" || { echo "FAIL: the window spy's title is not read" >&2; status=1; }
  title_check sequence-editor "Sequence: walk (8 views, mirrored)" ||
    { echo "FAIL: the sequence editor's title is not read" >&2; status=1; }
  for wrong in "window-spy:Log Viewer" "archive-browser:Window Spy" "sequence-editor:Sequence: spin (5 views, mirrored)" \
      "collection-editor:demo interface"; do
    if title_check "${wrong%%:*}" "${wrong#*:}"; then
      echo "FAIL: ${wrong%%:*}.png passes for '${wrong#*:}'" >&2; status=1
    fi
  done
fi

# Every picture the guide shows is one the script makes.
for image in $(grep -o 'images/[a-z-]*\.png' "$root/docs/user-guide.md" | sort -u); do
  [[ -s $out/${image#images/} ]] || { echo "FAIL: the guide shows $image, which the script does not make" >&2; status=1; }
done
exit $status
