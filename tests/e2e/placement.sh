#!/usr/bin/env bash
# Starts the desktop program for the first time (no settings file) in a real X server under
# a window manager, and checks what the player sees first: the whole window frame, title bar
# included, on the screen, and the title bar naming the program once.
#   placement.sh PROGRAM_FOLDER VERSION
set -euo pipefail

if [ "${1:-}" != "--inner" ]; then
  program=$(cd "$1" && pwd)
  XDG_RUNTIME_DIR=$(mktemp -d)
  export XDG_RUNTIME_DIR
  status=0
  # -noreset: the server does not reset when its last client leaves, which would refuse the
  # next client (the window manager, the program) while it resets.
  xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp -noreset" "$0" --inner "$program" "$2" ||
    status=$?
  rm -rf "$XDG_RUNTIME_DIR"
  exit "$status"
fi

program=$2
version=$3
work=$(mktemp -d)
cp -r "$program"/. "$work"/
rm -f "$work"/tarnwick.ini
fail() {
  echo "FAILED: $*" >&2
  exit 1
}
# Polls a check (a shell function) for up to 20 s.
within() {
  for _ in $(seq 400); do
    "$@" && return 0
    sleep 0.05
  done
  return 1
}

app=""
wm=""
trap 'kill $app $wm 2>/dev/null || true; wait $app 2>/dev/null || true; rm -rf "$work"' EXIT
openbox --sm-disable >"$work"/wm.log 2>&1 &
wm=$!
managed() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
within managed || fail "the window manager did not start: $(cat "$work"/wm.log)"
QT_QPA_PLATFORM=xcb LANGUAGE=en LC_ALL=C.UTF-8 "$work"/tarnwick >"$work"/program.log 2>&1 &
app=$!

window=""
shown() {
  window=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | head -n 1)
  [ -n "$window" ]
}
within shown || fail "no window of the program appeared"

# The frame: the client's place on the screen less the frame's extents (left, right, top,
# bottom), once the window manager has framed it.
frame=""
framed() {
  local extents x y width height
  extents=$(xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ' ')
  [ -n "$extents" ] || return 1
  IFS=, read -r left right top bottom <<<"$extents"
  x=$(xwininfo -id "$window" | sed -n 's/.*Absolute upper-left X: *//p')
  y=$(xwininfo -id "$window" | sed -n 's/.*Absolute upper-left Y: *//p')
  width=$(xwininfo -id "$window" | sed -n 's/.*Width: *//p')
  height=$(xwininfo -id "$window" | sed -n 's/.*Height: *//p')
  frame="$((x - left)) $((y - top)) $((x + width + right)) $((y + height + bottom))"
  [ "$top" -gt 0 ] || return 1 # not framed yet
  read -r fx fy fr fb <<<"$frame"
  [ "$fx" -ge 0 ] && [ "$fy" -ge 0 ] && [ "$fr" -le 1280 ] && [ "$fb" -le 800 ]
}
within framed || fail "the window's frame is not on the 1280 x 800 screen: left top right bottom = $frame"
echo "ok: the frame lies on the screen: left top right bottom = $frame"

title=$(xdotool getwindowname "$window")
[ "$title" = "Tarnwick $version" ] || fail "the title bar reads '$title'"
echo "ok: the title bar reads '$title'"
