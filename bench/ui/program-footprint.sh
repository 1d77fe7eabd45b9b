#!/usr/bin/env bash
# The desktop program's footprint while it monitors the virtual analyzer's
# demo bus: its share of one core over SECONDS (default 10) of monitoring,
# and its resident memory once the rings have been filled. Runs the built
# program under Xvfb and presses Start with xdotool.
#
#   bash bench/ui/program-footprint.sh [BUILD_DIR] [SECONDS]
#
# Needs xvfb and xdotool (apt-get install xvfb xdotool); FOOTPRINT_SHOT=file.png
# keeps a screenshot taken just after Start (needs imagemagick).
set -euo pipefail

measure() {
  HOME="$home" XDG_RUNTIME_DIR="$home" ORLINK_DEVICE=virtual "$program" --nosplash &
  local pid=$!
  sleep 3
  xdotool key Return; sleep 1   # the configuration message of a first start
  xdotool key Return; sleep 1   # the LIN revision question
  local idle_rss
  idle_rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  # Start on the dialog bar: the main window opens at (40, 40) on a
  # 1280x900 screen, and Start is the bar's first button.
  xdotool mousemove 84 73 click 1; sleep 1
  [ -n "${FOOTPRINT_SHOT:-}" ] && import -window root "$FOOTPRINT_SHOT"
  local ticks=$(getconf CLK_TCK)
  local before after
  before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  sleep "$seconds"
  after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  local rss
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  kill "$pid"; wait "$pid" 2>/dev/null || true
  awk -v b="$before" -v a="$after" -v t="$ticks" -v s="$seconds" -v r="$rss" -v i="$idle_rss" 'BEGIN {
    printf "cpu share while monitoring: %.2f %% of one core over %d s\n", 100 * (a - b) / t / s, s
    printf "resident memory: %.1f MB before Start, %.1f MB while monitoring\n", i / 1024, r / 1024
  }'
}
if [ "${1:-}" = "--under-xvfb" ]; then
  program="$2" home="$3" seconds="$4"
  measure
  exit 0
fi
build="${1:-build}"
seconds="${2:-10}"
program="$(cd "$build" && pwd)/bin/orvane"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
xvfb-run -a -s "-screen 0 1280x900x24" bash "$0" --under-xvfb "$program" "$home" "$seconds"
