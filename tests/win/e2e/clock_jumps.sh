#!/usr/bin/env bash
# The calendar follows the clock when it jumps, seen from outside. The
# program runs under libfaketime, whose timestamp file this test rewrites
# while the program runs; the today mark (its red frame) is found in
# screenshots and must stand on the day the clock reads within two seconds
# of each jump, while the months shown stay where they were. The caption
# counts each second once across midnight and follows summer time's end
# back an hour. Europe/Berlin, where summer time ends on 25 October 2026 and
# begins on 28 March 2027.
source "$(dirname "$0")/common.sh" "$1" "$2" MorvelinClock

FAKELIB=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
[ -f "$FAKELIB" ] || fail "libfaketime is missing (tools/setup.sh installs the faketime package)"
export TZ=Europe/Berlin
STAMP="$E2E_DIR/faketime"
SHOT="$E2E_DIR/window.png"
profile_reset

now_ms() { date +%s%3N; }

# set_clock 'YYYY-MM-DD HH:MM:SS[.f] +ZZZZ': from now on the program's
# clock reads that instant and runs on. The file holds the offset from the
# true time; it is replaced in one step, never seen half written.
set_clock() {
  local target now
  target=$(date -d "$1" +%s.%N)
  now=$(date +%s.%N)
  awk -v t="$target" -v n="$now" 'BEGIN { printf "%+.3f\n", t - n }' > "$STAMP.new"
  mv "$STAMP.new" "$STAMP"
  JUMPED_AT=$(now_ms)
}

start_faked() {
  LD_PRELOAD="$FAKELIB" FAKETIME_TIMESTAMP_FILE="$STAMP" FAKETIME_NO_CACHE=1 \
    FAKETIME_DONT_FAKE_MONOTONIC=1 FAKETIME_SKIP_CMDS=wineserver NO_FAKE_STAT=1 \
    wine "$E2E_COPY" >/dev/null 2>&1 &
  E2E_PID=$!
}

# The window's own pixels (Wine draws its frame inside the X window).
take_shot() { import -window "$E2E_WIN" "$SHOT"; }

# Bounding boxes "x y w h" of the shapes of one exact colour, largest first.
shapes_of() { # FILE COLOUR
  convert "$1" -fill black +opaque "$2" -define connected-components:verbose=true \
    -connected-components 8 null: 2>/dev/null |
    awk -v c="$2" 'NR > 1 && $NF != "srgb(0,0,0)" {
      split($2, g, /[x+]/); print g[3], g[4], g[1], g[2], g[1] * g[2] }' |
    sort -k5,5nr | cut -d' ' -f1-4
}

# The today mark: the largest shape of its red (a holiday drawn in red
# is only a number).
mark_box() { shapes_of "$SHOT" 'rgb(224,16,16)' | head -n1; }

# Where the months stand, from the first screenshot: the title bars (the
# shapes of the title colour many cells wide and not thin lines), in
# reading order.
FIRST_SHOWN=2026-10 # the month the program opens on, below
read_blocks() { # CELL_W CELL_H
  mapfile -t BLOCKS < <(shapes_of "$SHOT" 'rgb(0,128,192)' |
    awk -v w="$(($1 * 5))" -v h="$(($2 / 2))" '$3 >= w && $4 >= h' | sort -k2,2n -k1,1n)
  [ "${#BLOCKS[@]}" -eq 12 ] || fail "expected 12 month titles, found ${#BLOCKS[@]}"
}

# Line and weekday (Monday 0) of a day in its month's block: a month that
# begins on a Monday shows the whole week before it first.
cell_of() { # YYYY-MM-DD
  local first lead day
  first=$(date -u -d "${1:0:7}-01" +%u)
  lead=$((first == 1 ? 7 : first - 1))
  day=$((10#${1:8:2}))
  echo $(((lead + day - 1) / 7)) $(((lead + day - 1) % 7))
}

months_after_first() { # YYYY-MM-DD
  local y=$((10#${1:0:4})) m=$((10#${1:5:2}))
  echo $(((y * 12 + m) - (10#${FIRST_SHOWN:0:4} * 12 + 10#${FIRST_SHOWN:5:2})))
}

# The box the mark must have on DAY, from the mark's box on the opening day.
expected_box() { # DAY
  local b line wd bx by _
  b=$(months_after_first "$1")
  ((b >= 0 && b < 12)) || { echo none; return; }
  read -r line wd < <(cell_of "$1")
  read -r bx by _ < <(echo "${BLOCKS[$b]}")
  echo $((bx + ORIGIN_X + (wd - WD0) * CELL_W)) $((by + ORIGIN_Y + (line - LINE0) * CELL_H)) "$CELL_W" "$CELL_H"
}

# Waits until the mark stands on DAY (or is nowhere, for a day out of
# view): a screenshot taken two seconds after the last change of the clock
# must show it. With "moves", prints how long the mark took to follow.
expect_mark() { # DAY WHAT [moves]
  local want got=""
  want=$(expected_box "$1")
  while :; do
    local started
    started=$(now_ms)
    take_shot
    got=$(mark_box)
    [ -z "$got" ] && got=none
    if [ "$got" = "$want" ]; then
      if [ "$want" = none ]; then
        echo "ok: $2: no mark, $1 is not among the months shown"
      elif [ "${3:-}" = moves ]; then
        echo "ok: $2: the mark is on $1, seen $((started - JUMPED_AT))..$(($(now_ms) - JUMPED_AT)) ms after the change"
      else
        echo "ok: $2: the mark is on $1"
      fi
      return 0
    fi
    if ((started - JUMPED_AT > 2000)); then
      cp "$SHOT" "$E2E_DIR/failed.png"
      fail "$2: the mark is at '$got', not on $1 at '$want' (see $E2E_DIR/failed.png)"
    fi
    sleep 0.1
  done
}

wait_caption() { # REGEX SECONDS
  local t
  for t in $(seq 1 $(($2 * 20))); do
    [[ "$(caption)" =~ $1 ]] && return 0
    sleep 0.05
  done
  fail "the caption never matched '$1'; it reads '$(caption)'"
}

# Records the caption's changes for SECONDS into CAPTIONS, from the first
# that matches FROM (the clock as just set; earlier ones are from before).
record_captions() { # SECONDS FROM
  local until last="" c
  until=$(($(now_ms) + $1 * 1000))
  CAPTIONS=()
  while (($(now_ms) < until)); do
    c=$(caption)
    if [ "$c" != "$last" ] && { ((${#CAPTIONS[@]})) || [[ "$c" =~ $2 ]]; }; then
      CAPTIONS+=("$c")
      last=$c
    fi
    sleep 0.05
  done
}

# Each recorded caption one second after the one before it, as the clock's
# face reads; ALLOWED is the one other step that must be among them (-3599
# when summer time ends, 3601 when it begins).
expect_each_second_once() { # WHAT [ALLOWED]
  local i step allowed="${2:-}" seen_allowed=0
  ((${#CAPTIONS[@]} >= 3)) || fail "$1: too few captions: ${CAPTIONS[*]}"
  for ((i = 1; i < ${#CAPTIONS[@]}; i++)); do
    step=$(face_step "${CAPTIONS[i - 1]}" "${CAPTIONS[i]}")
    [ "$step" = 1 ] && continue
    if [ -n "$allowed" ] && [ "$step" = "$allowed" ] && ((!seen_allowed)); then
      seen_allowed=1
      continue
    fi
    fail "$1: '${CAPTIONS[i - 1]}' then '${CAPTIONS[i]}'"
  done
  [ -z "$allowed" ] || ((seen_allowed)) || fail "$1: no step of $allowed among: ${CAPTIONS[*]}"
  echo "ok: $1: ${CAPTIONS[0]##* } .. ${CAPTIONS[-1]##* }, each second once"
}

# "Morvelin - Sonntag, 25. Oktober 2026  02:00:01" or "25.10.26 02:00:01"
# as "2026-10-25 02:00:01" (local).
declare -A MONTHS=([Januar]=01 [Februar]=02 [März]=03 [April]=04 [Mai]=05 [Juni]=06 [Juli]=07
  [August]=08 [September]=09 [Oktober]=10 [November]=11 [Dezember]=12)
caption_instant() {
  local re_long='([0-9]{2})\. ([^ ]+) ([0-9]{4})  ([0-9:]{8})$' re_short='^([0-9]{2})\.([0-9]{2})\.([0-9]{2}) ([0-9:]{8})$'
  if [[ "$1" =~ $re_long ]]; then
    echo "${BASH_REMATCH[3]}-${MONTHS[${BASH_REMATCH[2]}]}-${BASH_REMATCH[1]} ${BASH_REMATCH[4]}"
  elif [[ "$1" =~ $re_short ]]; then
    echo "20${BASH_REMATCH[3]}-${BASH_REMATCH[2]}-${BASH_REMATCH[1]} ${BASH_REMATCH[4]}"
  else
    fail "not a clock caption: '$1'"
  fi
}
# The step between two captions on the clock's face, in seconds.
face_step() {
  local a b
  a=$(TZ=UTC date -d "$(caption_instant "$1")" +%s)
  b=$(TZ=UTC date -d "$(caption_instant "$2")" +%s)
  echo $((b - a))
}

minimise() { # from the context menu, as a user does
  xdotool mousemove --window "$E2E_WIN" 40 80 click 3
  sleep 0.5
  # Parameter, Feiertage, Aktualisieren, then Als Symbol darstellen.
  for _ in 1 2 3 4; do xdotool key Down; sleep 0.1; done
  xdotool key Return
  wait_caption '^[0-9]{2}\.[0-9]{2}\.[0-9]{2} ' 3
}
restore() { # the system menu's first entry
  xdotool key alt+space
  sleep 0.4
  xdotool key Return
  wait_caption '^Morvelin - ' 3
}
# Midnight comes MS after the clock was last set.
midnight_after() { JUMPED_AT=$((JUMPED_AT + $1)); }

# -- Saturday 24 October 2026, noon: the program opens on October ----------
set_clock '2026-10-24 12:00:00 +0200'
start_faked
app_wait_window
wait_caption 'Samstag, 24\. Oktober 2026' 10
sleep 1 # the start-up worker's layout passes
take_shot
read -r ORIGIN_X ORIGIN_Y CELL_W CELL_H < <(mark_box) || true
[ -n "${CELL_H:-}" ] && ((CELL_W > 5 && CELL_H > 5)) || fail "no today mark on the opening day"
read_blocks "$CELL_W" "$CELL_H"
read -r LINE0 WD0 < <(cell_of 2026-10-24)
read -r bx0 by0 _ < <(echo "${BLOCKS[0]}")
ORIGIN_X=$((ORIGIN_X - bx0)) # the opening day's cell within its block
ORIGIN_Y=$((ORIGIN_Y - by0))
cp "$SHOT" "$E2E_DIR/opening.png"
echo "ok: opens on October 2026 with the mark on the 24th (cells ${CELL_W}x${CELL_H})"

# -- Midnight into the day summer time ends ---------------------------------
set_clock '2026-10-24 23:59:58.4 +0200'
expect_mark 2026-10-24 "before midnight"
record_captions 3 '23:59:5[89]$'
expect_each_second_once "across midnight"
midnight_after 1600
expect_mark 2026-10-25 "midnight"

# -- Summer time ends: 03:00 summer time is 02:00 again ---------------------
set_clock '2026-10-25 02:59:58.4 +0200'
record_captions 3 '02:59:5[89]$'
expect_each_second_once "summer time ends" -3599
expect_mark 2026-10-25 "an hour back within the day"

# -- Weeks forward, as after a sleep or the user setting the date -----------
set_clock '2026-12-07 12:00:00 +0100'
expect_mark 2026-12-07 "forward to December" moves
wait_caption 'Montag, 07\. Dezember 2026' 2

# -- An hour back across midnight --------------------------------------------
set_clock '2026-12-08 00:30:00 +0100'
expect_mark 2026-12-08 "forward past midnight" moves
set_clock '2026-12-07 23:30:00 +0100'
expect_mark 2026-12-07 "an hour back across midnight" moves
wait_caption 'Montag, 07\. Dezember 2026  23:30' 2
cp "$SHOT" "$E2E_DIR/december.png"

# -- The new year comes while the window is minimised -------------------------
minimise
set_clock '2026-12-31 23:59:58.4 +0100'
wait_caption '^01\.01\.27 00:00:0' 4
restore
expect_mark 2027-01-01 "new year while minimised, once restored"
cp "$SHOT" "$E2E_DIR/new-year.png"

# -- Summer time begins: 02:00 winter time is 03:00 ------------------------
set_clock '2027-03-28 01:59:58.4 +0100'
record_captions 3 '01:59:5[89]$'
expect_each_second_once "summer time begins" 3601
expect_mark 2027-03-28 "the day summer time begins"

# -- A leap day: out of view until the user goes to today (Home) -----------
set_clock '2028-02-28 23:59:57.0 +0100'
expect_mark 2028-02-28 "far ahead"
xdotool key Home
FIRST_SHOWN=2028-02
expect_mark 2028-02-28 "Home shows February 2028"
midnight_after 3000
wait_caption 'Dienstag, 29\. Februar 2028' 4
expect_mark 2028-02-29 "the leap day" moves
cp "$SHOT" "$E2E_DIR/leap-day.png"

app_kill
wait "$E2E_PID" 2>/dev/null || true
