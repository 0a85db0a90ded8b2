#!/usr/bin/env bash
# `make run`: starts the calendar. On the user's X display when DISPLAY is
# set (until the user closes it); otherwise on a virtual display, where it
# waits for the window, saves a screenshot, prints its path and ends the
# program again.
set -euo pipefail
EXE="$(realpath "$1")"
BUILD="$(realpath "$2")"
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
HARNESS="$ROOT/tests/win/harness"
STATE="$BUILD/run-wine"
mkdir -p "$STATE"
rm -f "$STATE/display"

if [ -n "${DISPLAY:-}" ]; then
  source "$HARNESS/wine-env.sh" "$STATE"
  wine_ensure_prefix
  echo "Morvelin runs on $DISPLAY; its settings: $WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Morvelin.ini"
  exec wine "$EXE"
fi

cleanup() {
  [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null || true
  if [ -n "${XVFB_PID:-}" ]; then
    WINEPREFIX="$STATE/prefix" wineserver -k >/dev/null 2>&1 || true
    kill "$XVFB_PID" 2>/dev/null || true
  fi
  rm -f "$STATE/display"
}
trap cleanup EXIT

rm -f "$STATE/display.fd"
Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$STATE/display.fd" >/dev/null 2>&1 </dev/null &
XVFB_PID=$!
for _ in $(seq 1 100); do [ -s "$STATE/display.fd" ] && break; sleep 0.05; done
echo ":$(tr -d '[:space:]' < "$STATE/display.fd")" > "$STATE/display"
source "$HARNESS/wine-env.sh" "$STATE"
echo "No DISPLAY: running on the virtual display $DISPLAY"
wine_ensure_prefix

wine "$EXE" >/dev/null 2>&1 &
APP_PID=$!
WIN=""
for _ in $(seq 1 200); do
  WIN=$(xdotool search --all --onlyvisible --pid "$APP_PID" --name '^Morvelin' 2>/dev/null | head -n1 || true)
  [ -n "$WIN" ] && break
  sleep 0.1
done
[ -n "$WIN" ] || { echo "The calendar window did not appear." >&2; exit 1; }
# Let the start-up settle and the caption clock tick once.
sleep 2
SHOT="$BUILD/screenshot.png"
# The window alone when it can be cut out, else the whole screen.
import -window root "$SHOT"
read -r X Y W H < <(xwininfo -id "$WIN" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}')
convert "$SHOT" -crop "${W}x${H}+${X}+${Y}" +repage "$SHOT" 2>/dev/null || true
echo "Screenshot: $SHOT"
xdotool key Escape
for _ in $(seq 1 50); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$APP_PID" 2>/dev/null && { echo "The program did not end on Escape." >&2; exit 1; }
APP_PID=""
echo "Morvelin ended."
