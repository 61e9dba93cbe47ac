#!/bin/sh
# Run inside xvfb-run: starts WexalDT NOSPLASH with the system's own platform
# plugin, waits for its window, pictures the display, then ends the program
# with SIGTERM. Prints "window shown" or "window missing", then "exit N"
# with the program's exit status.
# Usage: XDisplaySmoke.sh PROGRAM PICTURE.png
set -u
program=$1
picture=$2

env -u QT_QPA_PLATFORM "$program" NOSPLASH &
pid=$!
shown=missing
for _ in $(seq 1 300); do
  if xwininfo -root -tree | grep -q '"WexalDT"'; then
    shown=shown
    break
  fi
  sleep 0.1
done
echo "window $shown"
sleep 1  # the first paint
xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$picture"
kill -TERM "$pid"
wait "$pid"
echo "exit $?"
