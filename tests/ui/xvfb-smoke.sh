#!/usr/bin/env bash
# Starts the real program on a virtual X display, finds its window by its caption, checks its
# size, chooses the flat panel type with the keyboard, types dimension A, saves the project
# through the menu and the file dialog, checks the file and ends the program from its menu.
# Usage: xvfb-smoke.sh PROGRAM VERSION
set -euo pipefail
program=$(realpath "$1")
version=$2
if [[ ${3:-} != --on-display ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$program" "$version" --on-display
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The program with its window module and its pictures in a folder of their own.
build=$(dirname "$program")
mkdir -p "$work/app/images"
cp "$program" "$build/libtectoplan-ui.so" "$build/libtectoplan-core.so" "$work/app/"
cp "$build"/images/*.wmf "$work/app/images/"
program=$work/app/$(basename "$program")

run() {
  export HOME=$work LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb
  "$program" -L:en >"$work/out.log" 2>&1 &
  local pid=$!
  fail() { echo "xvfb-smoke: $*" >&2; cat "$work/out.log" >&2; kill "$pid" 2>/dev/null; exit 1; }

  local win
  local caption="Tectoplan (version: $version)"
  win=$(timeout 20 xdotool search --sync --name "^${caption//[().]/\\&}\$" | head -1) ||
    fail "no window titled '$caption'"
  local geometry
  geometry=$(xdotool getwindowgeometry --shell "$win")
  eval "$geometry"
  [[ $WIDTH -eq 794 ]] || fail "window width $WIDTH, expected 794"
  ((HEIGHT > 454 && HEIGHT < 500)) || fail "window height $HEIGHT: 454 and a menu bar expected"

  xdotool windowfocus --sync "$win"
  sleep 0.5
  # The focus starts on the panel type list: Down chooses "Flat"; Tab Tab goes to dimension A.
  xdotool key --window "$win" --delay 100 Down Tab Tab ctrl+a
  xdotool type --window "$win" --delay 100 250
  xdotool key --window "$win" Tab
  sleep 0.3
  # File menu, then its second item, "Save Project".
  xdotool mousemove --window "$win" 15 8 click 1
  sleep 0.5
  xdotool key --delay 100 Down Down Return
  sleep 1
  xdotool type --delay 20 "$work/smoke"
  xdotool key Return
  for _ in $(seq 50); do [[ -s $work/smoke.tcj ]] && break; sleep 0.1; done
  [[ -s $work/smoke.tcj ]] || fail "no project file written"
  grep -q $'^Panel type=1\r$' "$work/smoke.tcj" || fail "panel type not saved: $(cat "$work/smoke.tcj")"
  grep -q $'^Vertex A=250\r$' "$work/smoke.tcj" || fail "dimension A not saved"
  grep -q $'^Vertex D=250\r$' "$work/smoke.tcj" || fail "D does not follow A"

  # File menu, "Exit".
  xdotool mousemove --window "$win" 15 8 click 1
  sleep 0.5
  xdotool key --delay 100 Down Down Down Return
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then fail "the program did not end when its window closed"; fi
  echo "xvfb-smoke: window found, driven and closed; project saved"
}

run
