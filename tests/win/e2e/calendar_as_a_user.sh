#!/usr/bin/env bash
# The calendar window as a user meets it: the caption clock ticks, a
# right-click opens the context menu, "Aktualisieren" refits, "Als Symbol
# darstellen" minimises (the caption turns short), "Programm beenden" ends.
source "$(dirname "$0")/common.sh" "$1" "$2" MorvelinUser
profile_reset
app_start
app_wait_window
sleep 1

long_re='^Morvelin - (Montag|Dienstag|Mittwoch|Donnerstag|Freitag|Samstag|Sonntag), [0-9]{2}\. (Januar|Februar|März|April|Mai|Juni|Juli|August|September|Oktober|November|Dezember) [0-9]{4}  [0-9]{2}:[0-9]{2}:[0-9]{2}$'
c1=$(caption)
[[ "$c1" =~ $long_re ]] || fail "caption does not read like the long clock: '$c1'"
sleep 1.2
c2=$(caption)
[[ "$c2" =~ $long_re ]] || fail "caption lost its form: '$c2'"
[ "$c1" != "$c2" ] || fail "caption did not change within a second: '$c1'"
echo "ok: caption '$c2'"

read -r x0 y0 w0 h0 < <(geometry)
# Move the window away; "Aktualisieren" from the context menu brings it back.
drag_window -200 -200
read -r xm ym _ _ < <(geometry)
[ "$xm" != "$x0" ] || [ "$ym" != "$y0" ] || fail "the window could not be moved for the test"

menu_item() { # $1: number of Down presses from the top of the context menu
  xdotool mousemove --window "$E2E_WIN" 40 80 click 3
  sleep 0.5
  for _ in $(seq 1 "$1"); do xdotool key Down; sleep 0.1; done
  xdotool key Return
  sleep 0.6
}

menu_item 3 # Aktualisieren (below "Parameter ..." and "Feiertage ...")
read -r x1 y1 w1 h1 < <(geometry)
[ "$x1 $y1 $w1 $h1" = "$x0 $y0 $w0 $h0" ] || fail "Aktualisieren did not refit and centre: $x1 $y1 $w1 $h1 vs $x0 $y0 $w0 $h0"
echo "ok: Aktualisieren refits to $w1 x $h1 at $x1,$y1"

menu_item 4 # Als Symbol darstellen
sleep 1.2
short_re='^[0-9]{2}\.[0-9]{2}\.[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}$'
c3=$(caption)
[[ "$c3" =~ $short_re ]] || fail "minimised caption is not the short clock: '$c3'"
echo "ok: minimised caption '$c3'"

# A fresh start for the last item: "Programm beenden" ends the process.
app_kill
wait "$E2E_PID" 2>/dev/null || true
app_start
app_wait_window
sleep 1
xdotool mousemove --window "$E2E_WIN" 40 80 click 3
sleep 0.5
xdotool key Up # from the top, Up wraps to the last item
sleep 0.1
xdotool key Return
app_wait_exit 10
echo "ok: Programm beenden ends the program"
