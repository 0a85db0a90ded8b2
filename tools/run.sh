#!/usr/bin/env bash
# `make run`: starts the calendar. On the user's X display when DISPLAY is
# set (until the user closes it); otherwise on a virtual display, where it
# waits for the window, saves a screenshot, prints its path and ends the
# program again.
#   tools/run.sh EXE BUILD_DIR [KEEPER_EXE]
# Either way Wine's desktop is brought up first, and checked, by the
# resident KEEPER_EXE (winewarm.exe, next to EXE unless given): a cold Wine
# server now and then comes up with a desktop that can show no window at all
# (see tests/win/harness/wine-env.sh).
# MORVELIN_RUN_STATE names another folder for the display and prefix than
# BUILD_DIR/run-wine; MORVELIN_RUN_SETTLE the seconds the virtual display
# shows the calendar before the screenshot (2); MORVELIN_RUN_DPI the system
# DPI the program runs at (96; `make run DPI=144`).
set -euo pipefail
EXE="$(realpath "$1")"
BUILD="$(realpath "$2")"
KEEPER="$(realpath "${3:-$(dirname "$EXE")/winewarm.exe}")"
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
HARNESS="$ROOT/tests/win/harness"
STATE="${MORVELIN_RUN_STATE:-$BUILD/run-wine}"
SETTLE="${MORVELIN_RUN_SETTLE:-2}"
mkdir -p "$STATE"
rm -f "$STATE/display"
[ -f "$KEEPER" ] || { echo "run: $KEEPER is missing (build the cross tree first)" >&2; exit 1; }

if [ -n "${DISPLAY:-}" ]; then
  source "$HARNESS/wine-env.sh" "$STATE"
  wine_ensure_prefix
  wine_set_dpi "${MORVELIN_RUN_DPI:-96}"
  trap wine_desktop_down EXIT
  wine_desktop_up "$KEEPER" || { echo "Wine cannot show windows on $DISPLAY." >&2; exit 1; }
  echo "Morvelin runs on $DISPLAY; its settings: $WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Morvelin.ini"
  for attempt in 1 2 3; do
    set +e
    { WINEDEBUG="$(wine_debug_loader)" wine "$EXE" 2>&1 1>&3 3>&- | tee "$STATE/program.err" >&2; rc=${PIPESTATUS[0]}; } 3>&1
    set -e
    [ "$rc" != 0 ] && [ "$attempt" -lt 3 ] && grep -q "$WINE_LOADER_LOST" "$STATE/program.err" || break
    echo "Wine's loader could not start the program; starting it again." >&2
  done
  exit "$rc"
fi

source "$HARNESS/display.sh"
cleanup() {
  [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null || true
  display_stop "$STATE"
}
trap cleanup EXIT
display_start "$STATE" "${MORVELIN_RUN_DPI:-96}"
source "$HARNESS/wine-env.sh" "$STATE"
echo "No DISPLAY: running on the virtual display $DISPLAY"
wine_ensure_prefix
wine_set_dpi "${MORVELIN_RUN_DPI:-96}"
wine_desktop_up "$KEEPER" || { echo "Wine cannot show windows on $DISPLAY." >&2; exit 1; }

for attempt in 1 2 3; do
  WINEDEBUG="$(wine_debug_loader)" wine "$EXE" >/dev/null 2>"$STATE/program.err" &
  APP_PID=$!
  WIN=$(window_of "$APP_PID" '^Morvelin')
  [ -z "$WIN" ] && [ "$attempt" -lt 3 ] && ! kill -0 "$APP_PID" 2>/dev/null &&
    grep -q "$WINE_LOADER_LOST" "$STATE/program.err" || break
  echo "Wine's loader could not start the program; starting it again." >&2
done
if [ -z "$WIN" ]; then
  # A program that could not start says why on its standard error.
  rc=""
  kill -0 "$APP_PID" 2>/dev/null || { rc=0; wait "$APP_PID" || rc=$?; APP_PID=""; }
  echo "The calendar window did not appear${rc:+ (exit code $rc)}." >&2
  grep -av "^[0-9a-f]*:\(err\|warn\|fixme\|trace\):" "$STATE/program.err" >&2 || true
  exit 1
fi
# Let the start-up settle and the caption clock tick once.
sleep "$SETTLE"
SHOT="$BUILD/screenshot.png"
[ -z "${MORVELIN_RUN_STATE:-}" ] || SHOT="$STATE/screenshot.png"
read -r X Y W H < <(window_geometry "$WIN")
import -window root -crop "${W}x${H}+${X}+${Y}" +repage "$SHOT"
echo "Screenshot: $SHOT"
xdotool key Escape
for _ in $(seq 1 50); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$APP_PID" 2>/dev/null && { echo "The program did not end on Escape." >&2; exit 1; }
APP_PID=""
echo "Morvelin ended."
