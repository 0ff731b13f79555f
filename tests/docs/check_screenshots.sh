#!/usr/bin/env bash
# Runs scripts/screenshots of the build into a scratch folder and checks that every
# picture of the user guide was written, has the program window's size and is not blank.
set -euo pipefail
root=$1 build=$2
out=$(mktemp -d /tmp/tamber-screenshots.XXXXXX)
trap 'rm -rf "$out"' EXIT

"$root/scripts/screenshots" --out "$out" "$build"

status=0
for name in archive-browser structure-editor text-editor collection-editor mesh-editor detail-texture \
    sound-editor dialog-editor geometry-viewer addon-dialog log-viewer window-spy; do
  file=$out/$name.png
  if [[ ! -s $file ]]; then
    echo "FAIL: $name.png was not written" >&2; status=1; continue
  fi
  read -r width height colours < <(identify -format '%w %h %k\n' "$file")
  if (( width < 640 || height < 480 )); then
    echo "FAIL: $name.png is ${width}x${height}, not the program's window" >&2; status=1
  fi
  if (( colours <= 16 )); then
    echo "FAIL: $name.png is blank ($colours colours)" >&2; status=1
  fi
done
# Every picture the guide shows is one the script makes.
for image in $(grep -o 'images/[a-z-]*\.png' "$root/docs/user-guide.md" | sort -u); do
  [[ -s $out/${image#images/} ]] || { echo "FAIL: the guide shows $image, which the script does not make" >&2; status=1; }
done
exit $status
