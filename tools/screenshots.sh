#!/usr/bin/env bash
# Makes the README's screenshots from the built program on a virtual
# display, with a fresh profile:
#   docs/calendar.png           the window with its caption (96 DPI)
#   docs/context-menu.png       the context menu over it
#   docs/parameters.png         the parameter dialog
#   docs/holiday-dialog.png     the holiday dialog with Bayern chosen
#   docs/holidays.png           the calendar with Bayern's holidays and a
#                               week number's tooltip
#   docs/calendar-144dpi.png    the window at 144 DPI (150 %)
#   tools/screenshots.sh build/win/Morvelin.exe
#
# Each DPI is a Wine session of its own (a prefix copied from the 96 DPI one,
# a screen of as many inches). A shot of another dialog is one more line in
# shots_at_96 below: shoot_dialog FILE TITLE OPENER..., where TITLE is a
# regular expression for the dialog's caption and OPENER a command that
# opens it from the calendar, e.g. `from_menu Down Return` (keys pressed in
# the context menu) or a function of its own for a dialog opened from
# another one; shoot_dialog closes whatever was opened afterwards.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
EXE="$(realpath "$1")"
KEEPER="$(dirname "$EXE")/winewarm.exe"
BASE="$ROOT/build/shots-wine"
OUT="$ROOT/docs"
mkdir -p "$OUT"
HARNESS="$ROOT/tests/win/harness"
source "$HARNESS/display.sh"

# --- one session at one DPI -------------------------------------------------

# start_session DPI: display, prefix and Wine's desktop at DPI, then the
# calendar with a fresh profile; sets STATE, PID and WIN.
start_session() {
  local dpi="$1"
  STATE="$BASE"
  [ "$dpi" = 96 ] || STATE="$BASE-dpi$dpi"
  display_start "$STATE" "$dpi"
  source "$HARNESS/wine-env.sh" "$STATE"
  [ "$dpi" = 96 ] || wine_copy_prefix "$BASE"
  wine_ensure_prefix
  wine_set_dpi "$dpi"
  # Wine's desktop first, checked and kept (see tests/win/harness/wine-env.sh).
  wine_desktop_up "$KEEPER" || { echo "Wine cannot show windows on $DISPLAY" >&2; exit 1; }
  rm -f "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Morvelin.ini"
  wine "$EXE" >/dev/null 2>&1 &
  PID=$!
  WIN=$(window_of "$PID" '^Morvelin')
  [ -n "$WIN" ] || { echo "no calendar window at $dpi DPI" >&2; exit 1; }
  sleep 2
  # Without a window manager Wine leaves the first window's caption drawn
  # inactive; opening and closing the About box (as a user might) fixes that.
  from_menu Up Up Return
  sleep 0.8
  xdotool key Escape
  sleep 0.5
}

end_session() {
  xdotool key Escape
  for _ in $(seq 1 50); do kill -0 "$PID" 2>/dev/null || break; sleep 0.1; done
  kill "$PID" 2>/dev/null || true
  wine_desktop_down
  display_stop "$STATE"
  # display_stop ends the display it started in this shell only.
  DISPLAY_XVFB_PID=""
}

# --- shots --------------------------------------------------------------------

crop() { # window-id output
  local x y w h
  read -r x y w h < <(window_geometry "$1")
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$2"
}

# The context menu, opened by a right-click inside the calendar, then KEYS.
from_menu() {
  xdotool mousemove --window "$WIN" 150 160 click 3
  sleep 0.5
  [ $# = 0 ] || xdotool key "$@"
}

# Presses Escape until no window of the program but the calendar is shown.
back_to_calendar() {
  local _ w others
  for _ in $(seq 1 10); do
    others=""
    for w in $(xdotool search --all --onlyvisible --pid "$PID" --name '.' 2>/dev/null); do
      [ "$w" = "$WIN" ] || others="$others $w"
    done
    [ -z "$others" ] && return 0
    xdotool key Escape
    sleep 0.4
  done
}

shoot_calendar() { # FILE
  crop "$WIN" "$OUT/$1"
}

shoot_context_menu() { # FILE
  from_menu
  sleep 0.3
  local x y w h
  read -r x y w h < <(window_geometry "$WIN")
  import -window root -crop "420x330+${x}+${y}" +repage "$OUT/$1"
  xdotool key Escape
  sleep 0.3
}

shoot_dialog() { # FILE TITLE OPENER...
  local file="$1" title="$2" dlg
  shift 2
  "$@"
  dlg=$(window_of "$PID" "$title")
  [ -n "$dlg" ] || { echo "no dialog '$title' for $file" >&2; exit 1; }
  sleep 0.5
  crop "$dlg" "$OUT/$file"
  back_to_calendar
}

# The holiday dialog, then Bayern chosen from its opened list (the pointer
# out of its way, since the open list follows it).
holidays_bayern() {
  from_menu Down Down Return
  sleep 0.5
  xdotool mousemove 5 5
  xdotool key alt+Down
  sleep 0.4
  xdotool key Down Down Return
  sleep 0.8
}

# The pointer resting on a week number of April shows its tooltip.
shoot_week_tooltip() { # FILE
  xdotool mousemove --window "$WIN" 14 275
  sleep 0.2
  xdotool mousemove --window "$WIN" 15 276
  sleep 1.5
  crop "$WIN" "$OUT/$1"
  xdotool mousemove 5 5
  sleep 0.3
}

# --- what is shot at each DPI -------------------------------------------------

shots_at_96() {
  shoot_calendar calendar.png
  shoot_context_menu context-menu.png
  shoot_dialog parameters.png '^Parameter$' from_menu Down Return
  shoot_dialog holiday-dialog.png '^Feiertage$' holidays_bayern
  shoot_week_tooltip holidays.png
}

shots_at_144() {
  shoot_calendar calendar-144dpi.png
}

trap 'end_session 2>/dev/null || true' EXIT
for dpi in 96 144; do
  start_session "$dpi"
  "shots_at_$dpi"
  end_session
done
trap - EXIT
echo "Screenshots in $OUT"
