#!/usr/bin/env bash
# Compares the library table of docs/architecture.md with the libraries the build
# defines (written by CMake as "target folder/ dep dep ..." lines), so the table
# cannot drift from the CMake targets. Table rows read:
#   | `tamber_tags` | `tags/` | `tamber_base`, `tamber_platform_fs` | ...
set -euo pipefail
doc=$1
built=$2

from_doc=$(grep -E '^\| `tamber_[a-z_]+` \|' "$doc" | while IFS='|' read -r _ lib folder deps _; do
  lib=$(tr -d ' `' <<<"$lib")
  folder=$(tr -d ' `' <<<"$folder")
  deps=$(grep -oE 'tamber_[a-z_]+' <<<"$deps" | sort | tr '\n' ' ' | sed 's/ $//')
  echo "$lib $folder${deps:+ $deps}"
done | sort)
from_build=$(sed 's/ *$//' "$built" | sort)

if [[ "$from_doc" != "$from_build" ]]; then
  echo "docs/architecture.md's library table differs from the build (< doc, > build):"
  diff <(echo "$from_doc") <(echo "$from_build") || true
  exit 1
fi
echo "library table matches $(wc -l <<<"$from_build") libraries"
