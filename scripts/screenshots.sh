#!/usr/bin/env bash
# Makes the user manual's screenshots (docs/images/*.png): runs a copy of the
# built program on the virtual analyzer in a private X server (Xvfb), drives
# it with xdotool and photographs the windows with ImageMagick.
#
#   bash scripts/screenshots.sh            # uses build/bin
#   ORVANE_BUILD_DIR=/path/to/build bash scripts/screenshots.sh
#
# ORVANE_SHOT_DISPLAY chooses the X display number (default 99).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${ORVANE_BUILD_DIR:-$root/build}"
images="$root/docs/images"
display_number="${ORVANE_SHOT_DISPLAY:-99}"

install_missing_tools() {
  local missing=()
  command -v Xvfb >/dev/null || missing+=(xvfb)
  command -v import >/dev/null || missing+=(imagemagick)
  command -v convert >/dev/null || missing+=(imagemagick)
  command -v xdotool >/dev/null || missing+=(xdotool)
  [ ${#missing[@]} -eq 0 ] && return
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "screenshots: installing ${missing[*]}" >&2
  $sudo apt-get update -q
  $sudo apt-get install -y -q "${missing[@]}"
}

for file in orvane liborlink.so vxlfrm.dat; do
  if [ ! -f "$build_dir/bin/$file" ]; then
    echo "screenshots: $build_dir/bin/$file is missing; build the program first" >&2
    exit 1
  fi
done
install_missing_tools

work="$(mktemp -d)"
xvfb_pid=""
program_pid=""
cleanup() {
  set +e
  if [ -n "$program_pid" ]; then
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

mkdir -p "$work/bin" "$work/home" "$work/runtime" "$images"
chmod 700 "$work/runtime"
cp "$build_dir/bin/orvane" "$build_dir/bin/liborlink.so" "$build_dir/bin/vxlfrm.dat" "$work/bin/"
cp "$root/emulator/demo-network.ldf" "$work/demo-network.ldf"

export DISPLAY=":$display_number"
export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime"
export ORLINK_DEVICE=virtual ORLINK_VIRTUAL_PROFILE=default QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY

if xdotool getdisplaygeometry >/dev/null 2>&1; then
  echo "screenshots: display $DISPLAY is already in use; set ORVANE_SHOT_DISPLAY" >&2
  exit 1
fi
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.2
done

# The id of the first visible window whose title matches the regular
# expression $1, waiting up to 15 seconds for it.
wait_window() {
  local id
  for _ in $(seq 75); do
    id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)"
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.2
  done
  echo "screenshots: no window titled '$1' appeared" >&2
  return 1
}

# Gives window $1 the keyboard and sends it the keys that follow.
keys_to() {
  local id="$1"
  shift
  xdotool windowfocus --sync "$id"
  sleep 0.3
  xdotool key --delay 150 "$@"
}

# Photographs window $1 into docs/images/$2, cut to the geometry $3 when
# given (WxH+X+Y), shrunk to at most 960 pixels wide and 256 colours.
shot() {
  sleep 0.8
  import -window "$1" "$work/shot.png"
  local crop=()
  [ -n "${3:-}" ] && crop=(-crop "$3" +repage)
  convert "$work/shot.png" "${crop[@]}" -resize '960x960>' -colors 256 -strip "$images/$2"
  echo "screenshots: wrote docs/images/$2" >&2
}

(cd "$work/bin" && exec ./orvane --nosplash) >"$work/orvane.log" 2>&1 &
program_pid=$!

# Clicks at ($2, $3) inside window $1; "double" as $4 double-clicks.
click_at() {
  local repeat=1
  [ "${4:-}" = double ] && repeat=2
  xdotool mousemove --window "$1" "$2" "$3" click --repeat "$repeat" --delay 80 1
  sleep 0.4
}

# Types $4 into the cell at ($2, $3) of the simulation grid in window $1.
edit_cell() {
  click_at "$1" "$2" "$3" double
  xdotool key ctrl+a
  xdotool type --delay 40 "$4"
  xdotool key Return
  sleep 0.4
}

# Answers the question box titled $1 with its default button.
answer() {
  keys_to "$(wait_window "$1")" Return
  sleep 0.5
}

# Chooses Configuration > Mode > the entry $1 places down (0 None).
choose_mode() {
  keys_to "$main" alt+c
  local steps=(Down Down Down Down Right)
  for _ in $(seq "$1"); do steps+=(Down); done
  xdotool key --delay 150 "${steps[@]}" Return
  sleep 0.8
}

(cd "$work/bin" && exec ./orvane --nosplash) >"$work/orvane.log" 2>&1 &
program_pid=$!

# First start: no configuration yet (the defaults are taken), then the LIN
# revision question.
answer '^Error$'
answer '^LIN Revision Select Window$'
main="$(wait_window 'Ver\.')"
xdotool windowmove --sync "$main" 0 0 windowsize --sync "$main" 860 500
sleep 2  # the Monitor and Status windows open inside the main window

# Monitoring the demo network.
keys_to "$main" shift+s
sleep 4
shot "$main" main-monitoring.png
keys_to "$main" shift+e
sleep 3

# Option Setup, its first two tabs.
keys_to "$main" alt+c Return
options="$(wait_window '^Option Setup$')"
shot "$options" option-baudrate.png
keys_to "$options" ctrl+Tab
shot "$options" option-frame-parameter.png
keys_to "$options" Escape

# Master Simulation Setup: schedule S1 on and repeated, slots 0 (identifier
# 05 after 20 ms) and 1 (identifier 20 after 30 ms) enabled.
keys_to "$main" alt+c Down Down Down Down Down Return
master="$(wait_window '^Master Simulation Setup$')"
click_at "$master" 18 20    # Schedule
click_at "$master" 106 20   # Enable
click_at "$master" 178 20   # Repeat
for row in 0 1; do
  y=$((65 + 20 * row))
  click_at "$master" 146 "$y"  # Ena, which also selects the row
  edit_cell "$master" 180 "$y" $((20 + 10 * row))
  edit_cell "$master" 278 "$y" "$([ "$row" = 0 ] && echo 05 || echo 20)"
done
xdotool mousemove 1270 1010
shot "$master" master-setup.png
xdotool windowsize --sync "$main" 1000 720
click_at "$master" 762 617  # OK, which offers Master Simulation mode

# Master simulation running, with its monitor window.
answer '^Simulation Mode$'
keys_to "$main" shift+s
sleep 4
shot "$main" master-running.png
keys_to "$main" shift+e
sleep 3
choose_mode 0

# The demo network's LIN description; the Signal Monitor window, then the
# Signal Select window with every frame ticked; monitoring again. ("e" is
# the mnemonic of two View entries: the first, Signal Select, is marked.)
keys_to "$main" ctrl+o
dialog="$(wait_window '^Select LIN description file')"
keys_to "$dialog" ctrl+a
xdotool type --delay 20 "$work/demo-network.ldf"
xdotool key Return
sleep 2
keys_to "$main" alt+v o
sleep 1
keys_to "$main" alt+v e Return
sleep 1
xdotool key --delay 200 space Down space Down space Down space Down space Down space
keys_to "$main" shift+s
sleep 4
shot "$main" signal-monitor.png 910x470+0+0
keys_to "$main" shift+e
sleep 3

keys_to "$main" ctrl+q
answer '^Exit$'
for _ in $(seq 25); do
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.2
done
