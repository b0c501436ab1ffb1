#!/usr/bin/env bash
# Starts the desktop program in a real X window (Xvfb) with a private D-Bus session and the
# accessibility bus, and drives it with drive.py as a player would. The exit status is the
# driver's.
#   run.sh PROGRAM_FOLDER [SCREENSHOT_FOLDER]
set -euo pipefail

if [ "${1:-}" != "--inner" ]; then
  program=$(cd "$1" && pwd)
  shots=${2:-}
  # Set before the private bus starts: services it starts inherit its environment.
  export GSETTINGS_BACKEND=memory
  XDG_RUNTIME_DIR=$(mktemp -d)
  export XDG_RUNTIME_DIR
  status=0
  # -noreset: see placement.sh.
  xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" \
    dbus-run-session -- "$0" --inner "$program" "$shots" || status=$?
  rm -rf "$XDG_RUNTIME_DIR"
  exit "$status"
fi

program=$2
shots=$3
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
for _ in $(seq 200); do
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true' && break
  sleep 0.05
done

# The program runs on a copy of its folder: its settings and pay tables are the test's own.
work=$(mktemp -d)
cp -r "$program"/. "$work"/
rm -f "$work"/tarnwick.ini
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LANGUAGE=en LC_ALL=C.UTF-8 \
  "$work"/tarnwick >"$work"/program.log 2>&1 &
app=$!
status=0
/usr/bin/python3 "$(dirname "$0")/drive.py" "$shots" || status=$?
kill "$app" "$launcher" 2>/dev/null || true
wait "$app" 2>/dev/null || true
if [ "$status" -ne 0 ]; then
  echo "--- program output" >&2
  cat "$work"/program.log >&2
fi
rm -rf "$work"
exit "$status"
