#!/usr/bin/env bash
# Makes the README's screenshots from the built program on a virtual
# display: docs/calendar.png (the window with its caption),
# docs/context-menu.png and docs/parameters.png.
#   tools/screenshots.sh build/win/Morvelin.exe
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
EXE="$(realpath "$1")"
STATE="$ROOT/build/shots-wine"
OUT="$ROOT/docs"
mkdir -p "$STATE" "$OUT"
rm -f "$STATE/display" "$STATE/display.fd"
Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$STATE/display.fd" >/dev/null 2>&1 </dev/null &
XVFB=$!
trap 'WINEPREFIX="$STATE/prefix" wineserver -k >/dev/null 2>&1 || true; kill $XVFB 2>/dev/null || true; rm -f "$STATE/display"' EXIT
for _ in $(seq 1 100); do [ -s "$STATE/display.fd" ] && break; sleep 0.05; done
echo ":$(tr -d '[:space:]' < "$STATE/display.fd")" > "$STATE/display"
source "$ROOT/tests/win/harness/wine-env.sh" "$STATE"
wine_ensure_prefix
rm -f "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Morvelin.ini"

wine "$EXE" >/dev/null 2>&1 &
PID=$!
WIN=""
for _ in $(seq 1 200); do
  WIN=$(xdotool search --all --onlyvisible --pid "$PID" --name '^Morvelin' 2>/dev/null | head -n1 || true)
  [ -n "$WIN" ] && break
  sleep 0.1
done
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

crop() { # window-id output [extra-window-id]
  local x y w h
  read -r x y w h < <(xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}')
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$2"
}

crop "$WIN" "$OUT/calendar.png"

xdotool mousemove --window "$WIN" 150 160 click 3
sleep 0.6
read -r x y w h < <(xwininfo -id "$WIN" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}')
import -window root -crop "420x330+${x}+${y}" +repage "$OUT/context-menu.png"
xdotool key Escape
sleep 0.3

xdotool mousemove --window "$WIN" 150 160 click 3
sleep 0.5
xdotool key Down Return
DLG=""
for _ in $(seq 1 50); do
  DLG=$(xdotool search --all --onlyvisible --pid "$PID" --name '^Parameter$' 2>/dev/null | head -n1 || true)
  [ -n "$DLG" ] && break
  sleep 0.1
done
sleep 0.5
[ -n "$DLG" ] && crop "$DLG" "$OUT/parameters.png"
xdotool key Escape
sleep 0.3
xdotool key Escape
echo "Screenshots in $OUT"
