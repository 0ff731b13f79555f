#!/usr/bin/env bash
# Runs the real program idle on a game folder under Xvfb for 10 s and reports the
# share of one core it used. Usage: bench/shell/idle_cpu.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
build=${1:-$(dirname "$0")/../../build}
seconds=${2:-10}
run=$(cd "$build/run" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$run/res" "$work/"
prefs="$work/res/prefs.txt"
grep -v '^ShowSplash ' "$run/res/prefs.txt" 2>/dev/null > "$prefs" || true
echo 'ShowSplash 0' >> "$prefs"
export run seconds work
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  cd "$work"; "$run/tamber" & pid=$!
  until grep -qx "Entering main loop..." tamber_log.txt 2>/dev/null; do sleep 0.1; done
  sleep 1
  ticks() { awk "{print \$14 + \$15}" /proc/$pid/stat; }
  hz=$(getconf CLK_TCK)
  start=$(ticks); sleep "$seconds"; end=$(ticks)
  kill $pid; wait $pid 2>/dev/null || true
  awk -v t=$((end - start)) -v hz=$hz -v s=$seconds "BEGIN { printf \"idle CPU: %.1f%% of one core over %d s\n\", 100 * t / hz / s, s }"'
