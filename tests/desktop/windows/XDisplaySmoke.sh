#!/bin/sh
# Run inside xvfb-run: starts WexalDT NOSPLASH with the system's own platform
# plugin, waits for its window to be painted, pictures the display, then ends
# the program with SIGTERM. Prints "window shown" or "window missing", then
# "exit N" with the program's exit status. A wait ends only when what it
# waits for came, or after a minute, which only a hang takes.
# Usage: XDisplaySmoke.sh PROGRAM PICTURE.png
set -u
program=$1
picture=$2

# Polls a condition ten times a second for up to a minute.
await() {
  for _ in $(seq 1 600); do
    if "$@"; then
      return 0
    fi
    sleep 0.1
  done
  return 1
}

window_listed() {
  xwininfo -root -tree | grep -q '"WexalDT"'
}

# The display as a picture; painted once it holds more than the few colours
# of an empty display or a bare window (text and frames bring dozens).
display_painted() {
  xwd -root -silent | xwdtopnm 2>/dev/null >"$picture.pnm"
  [ "$(ppmhist -noheader "$picture.pnm" | wc -l)" -gt 16 ]
}

env -u QT_QPA_PLATFORM "$program" NOSPLASH &
pid=$!
shown=missing
if await window_listed && await display_painted; then
  shown=shown
fi
echo "window $shown"
pnmtopng "$picture.pnm" >"$picture"
rm -f "$picture.pnm"
kill -TERM "$pid"
wait "$pid"
echo "exit $?"
