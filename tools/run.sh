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

source "$HARNESS/display.sh"
cleanup() {
  [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null || true
  display_stop "$STATE"
}
trap cleanup EXIT
display_start "$STATE"
source "$HARNESS/wine-env.sh" "$STATE"
echo "No DISPLAY: running on the virtual display $DISPLAY"
wine_ensure_prefix

wine "$EXE" >/dev/null 2>&1 &
APP_PID=$!
WIN=$(window_of "$APP_PID" '^Morvelin')
[ -n "$WIN" ] || { echo "The calendar window did not appear." >&2; exit 1; }
# Let the start-up settle and the caption clock tick once.
sleep 2
SHOT="$BUILD/screenshot.png"
read -r X Y W H < <(window_geometry "$WIN")
import -window root -crop "${W}x${H}+${X}+${Y}" +repage "$SHOT"
echo "Screenshot: $SHOT"
xdotool key Escape
for _ in $(seq 1 50); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$APP_PID" 2>/dev/null && { echo "The program did not end on Escape." >&2; exit 1; }
APP_PID=""
echo "Morvelin ended."
