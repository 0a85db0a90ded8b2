#!/usr/bin/env bash
# Makes the README's screenshots from the built program on a virtual
# display: docs/calendar.png (the window with its caption),
# docs/context-menu.png, docs/parameters.png, and with Bayern chosen in
# the holiday dialog docs/holiday-dialog.png and docs/holidays.png (the
# calendar with Bayern's holidays and a week number's tooltip).
#   tools/screenshots.sh build/win/Morvelin.exe
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
EXE="$(realpath "$1")"
STATE="$ROOT/build/shots-wine"
OUT="$ROOT/docs"
mkdir -p "$STATE" "$OUT"
source "$ROOT/tests/win/harness/display.sh"
trap 'display_stop "$STATE"' EXIT
display_start "$STATE"
source "$ROOT/tests/win/harness/wine-env.sh" "$STATE"
wine_ensure_prefix
# Wine's desktop first, checked and kept (see tests/win/harness/wine-env.sh).
wine_desktop_up "$(dirname "$EXE")/winewarm.exe" || { echo "Wine cannot show windows on $DISPLAY" >&2; exit 1; }
rm -f "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Morvelin.ini"

wine "$EXE" >/dev/null 2>&1 &
PID=$!
WIN=$(window_of "$PID" '^Morvelin')
[ -n "$WIN" ] || { echo "no window" >&2; exit 1; }
sleep 2
# Without a window manager Wine leaves the first window's caption drawn
# inactive; opening and closing the About box (as a user might) fixes that.
xdotool mousemove --window "$WIN" 150 160 click 3
sleep 0.5
xdotool key Up Up Return
sleep 0.8
xdotool key Escape
sleep 0.5

crop() { # window-id output
  local x y w h
  read -r x y w h < <(window_geometry "$1")
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$2"
}

crop "$WIN" "$OUT/calendar.png"

xdotool mousemove --window "$WIN" 150 160 click 3
sleep 0.6
read -r x y w h < <(window_geometry "$WIN")
import -window root -crop "420x330+${x}+${y}" +repage "$OUT/context-menu.png"
xdotool key Escape
sleep 0.3

xdotool mousemove --window "$WIN" 150 160 click 3
sleep 0.5
xdotool key Down Return
DLG=$(window_of "$PID" '^Parameter$')
sleep 0.5
[ -n "$DLG" ] && crop "$DLG" "$OUT/parameters.png"
xdotool key Escape
sleep 0.3

# The holiday dialog: Bayern chosen from the opened list (the pointer out
# of its way, since the open list follows it).
xdotool mousemove --window "$WIN" 150 160 click 3
sleep 0.5
xdotool key Down Down Return
DLG=$(window_of "$PID" '^Feiertage$')
sleep 0.5
xdotool mousemove 5 5
xdotool key alt+Down
sleep 0.4
xdotool key Down Down Return
sleep 0.8
[ -n "$DLG" ] && crop "$DLG" "$OUT/holiday-dialog.png"
xdotool key Escape
sleep 0.5

# The pointer resting on a week number of April shows its tooltip.
xdotool mousemove --window "$WIN" 14 275
sleep 0.2
xdotool mousemove --window "$WIN" 15 276
sleep 1.5
crop "$WIN" "$OUT/holidays.png"
xdotool mousemove 5 5
sleep 0.3
xdotool key Escape
echo "Screenshots in $OUT"
