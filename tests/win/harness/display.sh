# Sourced: a private virtual X display, and finding a program's window.
#   source display.sh
#   display_start STATE [DPI]
#                           starts Xvfb on a free display number, writes
#                           STATE/display and sets DISPLAY_XVFB_PID
#   display_screen DPI      the virtual screen's size at DPI: 1280 x 1024 at
#                           96, as many inches at any other DPI
#   display_stop STATE      ends Wine's server for STATE's prefix and Xvfb
#   window_of PID TITLE_RE  waits up to 20 s for PID's visible window whose
#                           title matches; prints its id (empty on time-out
#                           or when PID ends first)
#   window_geometry ID      prints "X Y W H"

display_screen() {
  local dpi="${1:-96}"
  printf '%dx%d' $((1280 * dpi / 96)) $((1024 * dpi / 96))
}

display_start() {
  local state="$1"
  mkdir -p "$state"
  rm -f "$state/display" "$state/display.fd"
  # -displayfd picks a free number, so we never take someone else's display.
  Xvfb -displayfd 9 -screen 0 "$(display_screen "${2:-96}")x24" -nolisten tcp 9>"$state/display.fd" \
    >/dev/null 2>&1 </dev/null &
  DISPLAY_XVFB_PID=$!
  local _
  for _ in $(seq 1 100); do [ -s "$state/display.fd" ] && break; sleep 0.05; done
  [ -s "$state/display.fd" ] || { echo "Xvfb did not start" >&2; return 1; }
  echo ":$(tr -d '[:space:]' < "$state/display.fd")" > "$state/display"
  display_as_a_desktop "$(cat "$state/display")" "${2:-96}"
}

# A desktop session loads its X resources into the root window; a bare Xvfb
# has none, and then Xlib looks for ~/.Xdefaults again each time Wine asks
# for a resource (dozens of times for every caption it draws). The second
# argument is the display's DPI (96 unless given).
display_as_a_desktop() {
  DISPLAY="$1" xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	${2:-96}
" 2>/dev/null || true
}

display_stop() {
  local state="$1"
  WINEPREFIX="$state/prefix" wineserver -k >/dev/null 2>&1 || true
  [ -n "${DISPLAY_XVFB_PID:-}" ] && kill "$DISPLAY_XVFB_PID" 2>/dev/null || true
  rm -f "$state/display"
}

window_of() {
  local pid="$1" title="$2" win="" _
  for _ in $(seq 1 200); do
    win=$(xdotool search --all --onlyvisible --pid "$pid" --name "$title" 2>/dev/null | head -n1 || true)
    [ -n "$win" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "$win"
}

window_geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'
}
