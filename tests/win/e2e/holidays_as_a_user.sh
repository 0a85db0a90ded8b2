#!/usr/bin/env bash
# The holidays as a user meets them: one month shown (May 2027, reached
# with PageUp/PageDown from whatever today is), its nationwide holidays in
# dark red; right-click, "Feiertage ...", Bayern chosen in the drop-down
# list, the dialog closed with Escape: the profile holds Bayern, and one
# more day is marked, the Thursday of the last full week under Christi
# Himmelfahrt's Thursday: Fronleichnam, 27 May.
source "$(dirname "$0")/common.sh" "$1" "$2" MorvelinHolidays
source "$E2E_HARNESS/display.sh"
profile_reset
printf '[Allgemein]\r\nSpalten=1\r\nZeilen=1\r\n' >"$E2E_PROFILE"
app_start
app_wait_window
sleep 1

# To May 2027, a month per key; the selection keeps its day, and is moved
# off the days the test looks at (a selected holiday shows the selection's
# colours instead of its own).
read -r year month day < <(date '+%Y %-m %-d')
months=$(( (2027 - year) * 12 + 5 - month ))
key=Next
[ "$months" -lt 0 ] && { key=Prior; months=$(( -months )); }
for _ in $(seq 1 "$months"); do xdotool key "$key"; done
case "$day" in 1|6|17|27) xdotool key Right ;; esac
sleep 0.8

# The window's pixels of exactly the holidays' default colour (192, 0, 0),
# as clusters "x y" (centres), one per marked day, top to bottom.
red_days() {
  local x y w h
  # The pointer away from the grid, so that no tooltip covers a day.
  xdotool mousemove 1270 1010
  sleep 0.6
  read -r x y w h < <(geometry)
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$1"
  convert "$1" txt:- | awk -F'[,: ]+' '/#C00000/ {
      px = $1 + 0; py = $2 + 0; found = 0
      for (i = 1; i <= n; i++)
        if (px >= l[i] - 5 && px <= r[i] + 5 && py >= t[i] - 3 && py <= b[i] + 3) {
          if (px < l[i]) l[i] = px; if (px > r[i]) r[i] = px
          if (py < t[i]) t[i] = py; if (py > b[i]) b[i] = py
          found = 1; break
        }
      if (!found) { n++; l[n] = r[n] = px; t[n] = b[n] = py }
    }
    END { for (i = 1; i <= n; i++) printf "%d %d\n", (l[i] + r[i]) / 2, (t[i] + b[i]) / 2 }' | sort -n -k2
}

before=$(red_days "$E2E_DIR/before.png")
[ "$(echo "$before" | grep -c .)" -eq 3 ] ||
  fail "May 2027 should show three nationwide holidays (1, 6, 17 May), found: $(echo $before)"
read -r thursday_x thursday_y < <(echo "$before" | sed -n 2p)
read -r _ monday_y < <(echo "$before" | sed -n 3p)
echo "ok: nationwide holidays marked at: $(echo $before | tr '\n' ' ')"

xdotool mousemove --window "$E2E_WIN" 40 80 click 3
sleep 0.5
xdotool key Down Down Return
DLG=$(window_of "$E2E_PID" '^Feiertage$')
[ -n "$DLG" ] || fail "the holiday dialog did not open"
echo "ok: holiday dialog open"
sleep 0.5
# The focus is on the drop-down list: open it, two down from
# "ganz Deutschland" (Baden-Württemberg, Bayern), take it. The pointer is
# moved off first: the open list follows it.
xdotool mousemove 1270 1010
xdotool key alt+Down
sleep 0.4
xdotool key Down Down Return
sleep 0.8
grep -q '^Bundesland=BY' "$E2E_PROFILE" || fail "Bundesland=BY not in the profile: $(cat "$E2E_PROFILE")"
grep -q '^Feiertage=1' "$E2E_PROFILE" || fail "Feiertage=1 not in the profile"
echo "ok: profile holds Bundesland=BY, Feiertage=1"
screenshot "$E2E_DIR/holiday-dialog.png"

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
sleep 0.5

after=$(red_days "$E2E_DIR/after.png")
[ "$(echo "$after" | grep -c .)" -eq 4 ] || fail "Bayern's May 2027 should show four holidays, found: $(echo $after)"
read -r new_x new_y < <(echo "$after" | sed -n 4p)
[ "$new_y" -gt "$monday_y" ] || fail "the new holiday ($new_x,$new_y) is not below Pfingstmontag (y $monday_y)"
dx=$(( new_x - thursday_x ))
[ "${dx#-}" -le 3 ] || fail "the new holiday ($new_x,$new_y) is not a Thursday (Christi Himmelfahrt at x $thursday_x)"
echo "ok: Fronleichnam marked at $new_x,$new_y, under Christi Himmelfahrt ($thursday_x,$thursday_y)"

xdotool key Escape
app_wait_exit 10
echo "ok: program ended"
