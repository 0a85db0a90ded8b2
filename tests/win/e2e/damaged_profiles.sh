#!/usr/bin/env bash
# Hand-edited and damaged profiles: for each one the real program starts on
# a usable calendar window (visible, top-left on screen, a sane size, the
# caption clock), the window has the size the README's rules give, and the
# file is byte-for-byte what it was after start-up, a refresh (F5) and
# closing. One line per case, then a summary.
#
# EXPECT names a clean profile whose window the damaged one must match in
# size ("default": no profile at all); "any" only asks for a usable window
# (fonts from damaged records: their size depends on the fonts installed).
source "$(dirname "$0")/common.sh" "$1" "$2" MorvelinDamaged
SCREEN_W=1280; SCREEN_H=1024

# --- building blocks --------------------------------------------------------
le32() { # a signed 32-bit value as 8 little-endian hex digits
  local h; h=$(printf '%08X' $(( $1 & 0xFFFFFFFF )))
  echo "${h:6:2}${h:4:2}${h:2:2}${h:0:2}"
}
# A 60-byte font record as hex: height, weight, then the 32 face bytes (hex).
logfont() {
  local face="$3"
  while [ ${#face} -lt 64 ]; do face+=00; done
  echo "$(le32 "$1")000000000000000000000000$(le32 "$2")0000000000000000${face:0:64}"
}
ARIAL=$(printf 'Arial' | xxd -p)
hexbytes() { head -c "$1" /dev/zero | tr '\0' '\101' | xxd -p | tr -d '\n'; } # N bytes of 0x41
profile() { printf '%b' "$1"; } # a profile from printf escapes
clean_2x2='[Allgemein]\nSpalten=2\nZeilen=2\n'

# make_profile CASE FILE: writes the case's profile (or folder) at FILE.
make_profile() {
  local f="$2"
  case "$1" in
    # References: clean profiles the damaged ones are measured against.
    default) ;;
    ref_2x2) profile "$clean_2x2" >"$f" ;;
    ref_1x1) profile '[Allgemein]\nSpalten=1\nZeilen=1\n' >"$f" ;;
    ref_5x2) profile '[Allgemein]\nSpalten=5\nZeilen=2\n' >"$f" ;;
    ref_2x3) profile '[Allgemein]\nSpalten=2\nZeilen=3\n' >"$f" ;;
    # Values that are not numbers.
    empty_file) : >"$f" ;;
    words) profile '[Allgemein]\nSpalten=zwei\nZeilen=drei\nMorvelinwochen=ja\n[Color]\nForeColor=schwarz\nMonthBackColor=weiss\n' >"$f" ;;
    empty_values) profile '[Allgemein]\nSpalten=\nZeilen=\nMorvelinwochen=\nLogFont=\n[Color]\nForeColor=\nMonthBackColor=\nTitleBackColor=\nTitleForeColor=\nTrailingForeColor=\n' >"$f" ;;
    blank_values) profile '[Allgemein]\nSpalten=   \nZeilen=\t\n' >"$f" ;;
    digits_then_junk) profile '[Allgemein]\nSpalten=2abc\nZeilen=0x2\nMorvelinwochen=1.5\n' >"$f" ;;
    plus_minus) profile '[Allgemein]\nSpalten=+-2\nZeilen=--2\n' >"$f" ;;
    quoted) profile '[Allgemein]\nSpalten="2"\nZeilen=  2  \n' >"$f" ;;
    # Counts.
    huge_counts) profile '[Allgemein]\nSpalten=2147483647\nZeilen=2147483647\n' >"$f" ;;
    beyond_int32) profile '[Allgemein]\nSpalten=99999999999\nZeilen=-2147483649\n' >"$f" ;;
    negative_counts) profile '[Allgemein]\nSpalten=-5\nZeilen=-2147483648\n' >"$f" ;;
    zero_counts) profile '[Allgemein]\nSpalten=0\nZeilen=0\n' >"$f" ;;
    product_25) profile '[Allgemein]\nSpalten=5\nZeilen=5\n' >"$f" ;;
    low_16_bits) profile '[Allgemein]\nSpalten=65538\nZeilen=65539\n' >"$f" ;;
    # The font record.
    logfont_0) profile '[Allgemein]\nLogFont=\n' >"$f" ;;
    logfont_59) echo -e "[Allgemein]\nLogFont=$(hexbytes 59)" >"$f" ;;
    logfont_61) echo -e "[Allgemein]\nLogFont=$(hexbytes 61)" >"$f" ;;
    logfont_odd) echo -e "[Allgemein]\nLogFont=$(hexbytes 60)A" >"$f" ;;
    logfont_not_hex) echo -e "[Allgemein]\nLogFont=$(hexbytes 59)ZZ" >"$f" ;;
    logfont_garbage) # 60 bytes of fixed noise
      echo -e "[Allgemein]\nLogFont=$(printf 'morvelin' | sha512sum | cut -c1-120)" >"$f" ;;
    logfont_all_ff) echo -e "[Allgemein]\nLogFont=$(printf 'F%.0s' $(seq 120))" >"$f" ;;
    face_without_nul) echo -e "[Allgemein]\nLogFont=$(logfont -13 400 "$(printf 'X%.0s' $(seq 32) | xxd -p)")" >"$f" ;;
    height_0) echo -e "[Allgemein]\nLogFont=$(logfont 0 400 "$ARIAL")" >"$f" ;;
    height_int_min) echo -e "[Allgemein]\nLogFont=$(logfont -2147483648 400 "$ARIAL")" >"$f" ;;
    height_int_max) echo -e "[Allgemein]\nLogFont=$(logfont 2147483647 400 "$ARIAL")" >"$f" ;;
    weight_negative) echo -e "[Allgemein]\nLogFont=$(logfont -13 -2147483648 "$ARIAL")" >"$f" ;;
    # Colours: the high byte set (system-colour and invalid forms).
    colour_high_bytes) profile '[Color]\nForeColor=-16777216\nMonthBackColor=-1\nTitleBackColor=-2147483648\nTitleForeColor=-2147483643\nTrailingForeColor=33554432\n' >"$f" ;;
    # The holidays' keys: unreadable values are the defaults (nationwide
    # holidays, dark red), and none of them changes the window's size.
    holidays_words) profile '[Allgemein]\nFeiertage=ja\nBundesland=Bayern\n[Color]\nHolidayForeColor=rot\n' >"$f" ;;
    holidays_empty) profile '[Allgemein]\nFeiertage=\nBundesland=\n[Color]\nHolidayForeColor=\n' >"$f" ;;
    holidays_junk) profile '[Allgemein]\nFeiertage=99999999999\nBundesland=\xff\xfeB\x00Y\n[Color]\nHolidayForeColor=0x10\n' >"$f" ;;
    holidays_odd) profile '[Allgemein]\nFeiertage=-7\nBundesland= "by" \n[Color]\nHolidayForeColor=-1\n' >"$f" ;;
    holidays_off) profile '[Allgemein]\nFeiertage=0\nBundesland=XY\n' >"$f" ;;
    holidays_long_land) { profile '[Allgemein]\nBundesland='; head -c 2097152 /dev/zero | tr '\0' 'B'; echo; } >"$f" ;;
    # Structure.
    duplicate_keys) profile '[Allgemein]\nSpalten=2\nZeilen=2\nSpalten=5\nZeilen=5\n' >"$f" ;;
    duplicate_sections) profile '[Allgemein]\nSpalten=2\n[Color]\nForeColor=255\n[Allgemein]\nSpalten=5\nZeilen=2\n' >"$f" ;;
    no_sections) profile 'Spalten=2\nZeilen=2\n' >"$f" ;;
    other_sections_only) profile '[Farben]\nSpalten=2\n[Color]\nForeColor=255\n' >"$f" ;;
    unclosed_section) profile '[Allgemein\nSpalten=2\nZeilen=2\n' >"$f" ;;
    case_and_blanks) profile '  [ALLGEMEIN]  \n  spalten = 2 \nZEILEN=2\n;Spalten=5\n' >"$f" ;;
    cr_only_lines) profile '[Allgemein]\rSpalten=5\rZeilen=5\r' >"$f" ;;
    # Encodings and junk.
    binary_junk) { printf 'morvelin-junk' | sha512sum | xxd -r -p; printf '\0\0\xff\xfe\x80'; \
                   printf 'junk' | sha512sum | xxd -r -p; } >"$f" ;;
    junk_around_keys) profile '\x00\x01\x02\xff\n[Allgemein]\nSpalten=2\nZeilen=2\n\x00\x80\x81\xfe\n' >"$f" ;;
    invalid_utf8) profile '[Allgemein]\nSpalten=\xc3\x28\nZeilen=2\xff\n[\xed\xa0\x80]\n\xe2\x82=1\n' >"$f" ;;
    utf8_bom) profile "\xef\xbb\xbf$clean_2x2" >"$f" ;;
    utf16le_bom) { printf '\xff\xfe'; profile "$clean_2x2" | iconv -f UTF-8 -t UTF-16LE; } >"$f" ;;
    utf16be_bom) { printf '\xfe\xff'; profile "$clean_2x2" | iconv -f UTF-8 -t UTF-16BE; } >"$f" ;;
    utf16le_no_bom) profile "$clean_2x2" | iconv -f UTF-8 -t UTF-16LE >"$f" ;;
    # Size: generated here, never committed.
    big_10mb_lines) { profile "[Allgemein]\nSpalten=2\n"; \
                      head -c 10485760 < <(yes 'Rauschen=0123456789abcdefghijklmnopqrstuvwxyz0123456789'); \
                      profile '\nZeilen=2\n'; } >"$f" ;;
    big_10mb_value) { profile "$clean_2x2"; printf 'LogFont='; head -c 10485760 /dev/zero | tr '\0' 'A'; echo; } >"$f" ;;
    # Files we may not or cannot write.
    read_only) profile "$clean_2x2" >"$f"; chmod 444 "$f" ;;
    folder) mkdir "$f" ;;
    *) fail "unknown case $1" ;;
  esac
}

# CASE EXPECT: what each case must look like (a reference's name, or any).
CASES="
default default
ref_2x2 ref_2x2
ref_1x1 ref_1x1
ref_5x2 ref_5x2
ref_2x3 ref_2x3
empty_file default
words default
empty_values default
blank_values default
digits_then_junk default
plus_minus default
quoted ref_2x2
huge_counts ref_1x1
beyond_int32 default
negative_counts ref_1x1
zero_counts ref_1x1
product_25 ref_5x2
low_16_bits ref_2x3
logfont_0 default
logfont_59 default
logfont_61 default
logfont_odd default
logfont_not_hex default
logfont_garbage default
logfont_all_ff any
face_without_nul any
height_0 any
height_int_min default
height_int_max default
weight_negative any
colour_high_bytes default
holidays_words default
holidays_empty default
holidays_junk default
holidays_odd default
holidays_off default
holidays_long_land default
duplicate_keys ref_2x2
duplicate_sections ref_2x3
no_sections default
other_sections_only default
unclosed_section default
case_and_blanks ref_2x2
cr_only_lines any
binary_junk default
junk_around_keys ref_2x2
invalid_utf8 default
utf8_bom ref_2x2
utf16le_bom ref_2x2
utf16be_bom ref_2x2
utf16le_no_bom default
big_10mb_lines ref_2x2
big_10mb_value ref_2x2
read_only ref_2x2
folder default
"

fingerprint() { # of whatever is at the profile's path
  if [ -d "$1" ]; then echo "folder:$(ls -A "$1" | wc -l)"
  elif [ -e "$1" ]; then echo "$(stat -c %a "$1"):$(sha256sum <"$1" | cut -c1-16)"
  else echo absent; fi
}

# Geometry once it stops changing (the start-up worker settles it); with an
# argument, once it has left that top-left corner first.
settled_geometry() {
  local away="${1:-}" last="" now t
  for t in $(seq 1 50); do
    now=$(geometry)
    if [ -n "$away" ] && [ "${now% * *}" = "$away" ]; then sleep 0.1; continue; fi
    [ -n "$now" ] && [ "$now" = "$last" ] && { echo "$now"; return; }
    last="$now"; sleep 0.1
  done
  echo "$now"
}

clock_re='^Morvelin - (Montag|Dienstag|Mittwoch|Donnerstag|Freitag|Samstag|Sonntag), [0-9]{2}\. [^ ]+ [0-9]{4}  [0-9]{2}:[0-9]{2}:[0-9]{2}$'
declare -A SIZE_OF
passed=0; failed=0; failures=""

run_case() { # CASE EXPECT: one line, and the tally
  local name="$1" expect="$2" why="" before after x y w h x2 y2 rc
  rm -rf "$E2E_PROFILE"
  make_profile "$name" "$E2E_PROFILE"
  before=$(fingerprint "$E2E_PROFILE")

  app_start
  E2E_WIN=""
  for _ in $(seq 1 150); do
    E2E_WIN=$(xdotool search --all --onlyvisible --pid "$E2E_PID" --name '^Morvelin' 2>/dev/null | head -n1 || true)
    [ -n "$E2E_WIN" ] || ! app_running && break
    sleep 0.1
  done
  if [ -z "$E2E_WIN" ]; then
    app_kill; wait "$E2E_PID" 2>/dev/null
    printf 'FAIL %-20s no window (program %s)\n' "$name" "$(kill -0 "$E2E_PID" 2>/dev/null && echo running || echo ended)"
    failed=$((failed + 1)); failures+=" $name"; return 0
  fi
  read -r x y w h < <(settled_geometry)
  local cap; cap=$(caption)
  [[ "$cap" =~ $clock_re ]] || why+=" caption '$cap';"
  [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ "$x" -lt $((SCREEN_W - 50)) ] && [ "$y" -lt $((SCREEN_H - 50)) ] ||
    why+=" top-left $x,$y off screen;"
  # No case asks for more than five months in a row: all fit the screen.
  [ "$w" -ge 120 ] && [ "$h" -ge 100 ] && [ "$w" -le "$SCREEN_W" ] && [ "$h" -le "$SCREEN_H" ] ||
    why+=" size ${w}x${h};"
  if [ "$expect" = "$name" ]; then
    SIZE_OF[$name]="$w $h"
  elif [ "$expect" != any ] && [ "${SIZE_OF[$expect]}" != "$w $h" ]; then
    why+=" size ${w}x${h}, $expect is ${SIZE_OF[$expect]// /x};"
  fi
  [ "$(fingerprint "$E2E_PROFILE")" = "$before" ] || why+=" changed at start-up;"

  # Refresh: dragged away by its caption, F5 must bring it back (and write
  # nothing).
  xdotool mousemove "$((x + w / 2))" "$((y + 10))" mousedown 1 sleep 0.05 \
          mousemove "$((x + w / 2 - 60))" "$((y - 50))" sleep 0.05 \
          mousemove "$((x + w / 2 - 120))" "$((y - 110))" sleep 0.05 mouseup 1
  local xm ym
  read -r xm ym _ _ < <(settled_geometry "$x $y")
  if [ "$xm $ym" = "$x $y" ]; then
    why+=" could not be dragged away for the refresh;"
  else
    xdotool key F5
    read -r x2 y2 _ _ < <(settled_geometry "$xm $ym")
    [ "$x2 $y2" = "$x $y" ] || why+=" F5 did not refit ($x2,$y2);"
  fi
  [ "$(fingerprint "$E2E_PROFILE")" = "$before" ] || why+=" changed by F5;"

  xdotool key Escape
  rc=""
  for _ in $(seq 1 100); do
    kill -0 "$E2E_PID" 2>/dev/null || { wait "$E2E_PID"; rc=$?; break; }
    sleep 0.1
  done
  if [ -z "$rc" ]; then app_kill; why+=" did not end;"; elif [ "$rc" -ne 0 ]; then why+=" exit code $rc;"; fi
  after=$(fingerprint "$E2E_PROFILE")
  [ "$after" = "$before" ] || why+=" profile changed: $before -> $after;"

  if [ -z "$why" ]; then
    printf 'ok   %-20s %4dx%-4d at %d,%d\n' "$name" "$w" "$h" "$x" "$y"
    passed=$((passed + 1))
  else
    printf 'FAIL %-20s%s\n' "$name" "$why"
    failed=$((failed + 1)); failures+=" $name"
  fi
}

start=$SECONDS
while read -r name expect; do
  [ -n "$name" ] || continue
  run_case "$name" "$expect" || true
done <<<"$CASES"
rm -rf "$E2E_PROFILE"

echo "damaged profiles: $passed passed, $failed failed in $((SECONDS - start)) s${failures:+ (failed:$failures)}"
[ "$failed" -eq 0 ]
