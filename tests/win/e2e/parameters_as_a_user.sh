#!/usr/bin/env bash
# The parameter dialog as a user meets it: opened from the context menu,
# 5 typed over the columns (15 months: refused with the message), then 2
# typed over the rows: the calendar widens and centres itself, and the
# profile on disk holds the new counts.
source "$(dirname "$0")/common.sh" "$1" "$2" MorvelinParams
source "$E2E_HARNESS/display.sh"
profile_reset
app_start
app_wait_window
sleep 1
read -r x0 y0 w0 h0 < <(geometry)

xdotool mousemove --window "$E2E_WIN" 40 80 click 3
sleep 0.5
xdotool key Down Return
DLG=$(window_of "$E2E_PID" '^Parameter$')
[ -n "$DLG" ] || fail "the parameter dialog did not open"
echo "ok: parameter dialog open"
sleep 0.5

# The focus starts in the columns field with its text selected.
xdotool type --delay 50 5
BOX=$(window_of "$E2E_PID" "^$E2E_NAME\$")
[ -n "$BOX" ] || fail "no message for 5 x 3 months"
[ ! -f "$E2E_PROFILE" ] || ! grep -q 'Spalten' "$E2E_PROFILE" || fail "5 x 3 was stored"
echo "ok: 5 x 3 refused with a message"
xdotool key Return
sleep 0.5

xdotool key Tab
sleep 0.2
xdotool type --delay 50 2
sleep 1
grep -q '^Spalten=5' "$E2E_PROFILE" || fail "Spalten=5 not in the profile: $(cat "$E2E_PROFILE" 2>/dev/null)"
grep -q '^Zeilen=2' "$E2E_PROFILE" || fail "Zeilen=2 not in the profile"
echo "ok: profile holds Spalten=5, Zeilen=2"

read -r x1 y1 w1 h1 < <(geometry)
[ "$w1" -gt "$w0" ] || fail "the calendar did not widen: $w0 -> $w1"
[ "$h1" -lt "$h0" ] || fail "the calendar did not get lower: $h0 -> $h1"
cx0=$((x0 + w0 / 2)); cx1=$((x1 + w1 / 2))
[ $((cx1 - cx0)) -le 1 ] && [ $((cx0 - cx1)) -le 1 ] || fail "not centred again: centre $cx0 -> $cx1"
echo "ok: calendar now $w1 x $h1 at $x1,$y1 (was $w0 x $h0 at $x0,$y0)"
screenshot "$E2E_DIR/parameters.png"

xdotool key Escape
closed=""
for _ in $(seq 1 30); do
  if ! xwininfo -id "$DLG" 2>/dev/null | grep -q 'IsViewable'; then
    closed=yes
    break
  fi
  sleep 0.1
done
[ -n "$closed" ] || fail "Escape did not close the dialog"
echo "ok: Escape closes the dialog"
