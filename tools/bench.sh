#!/usr/bin/env bash
# `make bench`: measures the calendar against the platform's own floor and
# prints one table of ratios. Each ratio compares two medians taken in the
# same run on the same Wine, the two sides alternating.
#
#   tools/bench.sh BUILD_DIR [--quick]     private Xvfb display and Wine prefix
#                                          in BUILD_DIR/bench-wine; --quick: few
#                                          repetitions, a few seconds of idling
#   tools/bench.sh --smoke BUILD_DIR STATE the test fixture's display and prefix
#                                          (STATE); only checks that every
#                                          figure is produced
#
# BUILD_DIR is a cross build (Release for figures worth reading) holding
# Morvelin.exe and bench/. A missed target is a finding, not a failure: the
# exit status is 0 unless something did not run.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
HARNESS="$ROOT/tests/win/harness"

MODE=full
if [ "${1:-}" = "--smoke" ]; then
  MODE=smoke
  BUILD="$(realpath "$2")"
  STATE="$(realpath -m "$3")"
else
  BUILD="$(realpath "${1:?usage: bench.sh BUILD_DIR [--quick] | bench.sh --smoke BUILD_DIR STATE}")"
  [ "${2:-}" = "--quick" ] && MODE=quick
  STATE="$BUILD/bench-wine"
fi

# In-process repetitions stay modest: past a few hundred window operations
# in one process, Wine (8.0 on Xvfb) slows every window call of both sides
# several times over, and the figures would describe that state instead.
# COLD: starts of each program, each in a Wine session of its own; STEPS:
# processes of each side for the start-up's step-by-step breakdown.
case "$MODE" in
  full)  REPS=31; INPROC_REPS=61;  SETTLE=1000; IDLE=60; COLD=15; STEPS=21 ;;
  quick) REPS=5;  INPROC_REPS=21;  SETTLE=800;  IDLE=6;  COLD=3;  STEPS=5 ;;
  smoke) REPS=2;  INPROC_REPS=3;   SETTLE=300;  IDLE=2;  COLD=1;  STEPS=1 ;;
esac

EXE="$BUILD/Morvelin.exe"
B="$BUILD/bench"
KEEPER="$BUILD/winewarm.exe"
for f in "$EXE" "$KEEPER" "$B/bench_baseline.exe" "$B/bench_dllfloor.exe" "$B/bench_inproc.exe" "$B/bench_launch.exe"; do
  [ -f "$f" ] || { echo "bench: $f is missing (build the cross tree first)" >&2; exit 1; }
done

XVFB_PID=""
cleanup() {
  if [ "$MODE" != smoke ]; then
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -f "$STATE/display"
  fi
}
trap cleanup EXIT

mkdir -p "$STATE"
if [ "$MODE" = smoke ]; then
  [ -s "$STATE/display" ] || { echo "bench: no fixture display in $STATE" >&2; exit 1; }
  XVFB_PID="$(cat "$STATE/xvfb.pid" 2>/dev/null || true)"
  source "$HARNESS/wine-env.sh" "$STATE"
else
  source "$HARNESS/display.sh"
  display_start "$STATE"
  XVFB_PID=$DISPLAY_XVFB_PID
  source "$HARNESS/wine-env.sh" "$STATE"
fi
wine_ensure_prefix

# The programs run from a folder of the bench's own, so that their Linux
# processes are told apart from every other Wine program on the machine by
# their path. Under its own name the calendar has a profile of its own,
# absent: the defaults (4 x 3 months with week numbers).
BIN="$STATE/bench-bin"
mkdir -p "$BIN"
cp "$EXE" "$BIN/MorvelinBench.exe"
cp "$B/bench_baseline.exe" "$B/bench_dllfloor.exe" "$BIN/"
rm -f "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/MorvelinBench.ini"
winpath() { printf 'Z:%s' "${1//\//\\}"; }

OUT="$STATE/bench-output.txt"
: > "$OUT"
echo "bench: $MODE run on $DISPLAY ($REPS launches and $INPROC_REPS in-process repetitions per side, ${IDLE} s idle)" >&2
# new_session: a fresh Wine session for the next phase. Everything a
# phase leaves behind in the Wine server and its desktop (thousands of
# windows made and gone, a window minimised and closed) was seen to slow
# the next phase's window calls several times over. The session is brought
# up with a working desktop and kept by the resident keeper (see
# tests/win/harness/wine-env.sh). The test fixture's session is shared with
# the tests, so the smoke run keeps it.
new_session() {
  if [ "$MODE" != smoke ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    wine_desktop_up "$KEEPER" || { echo "bench: Wine cannot show a window on $DISPLAY" >&2; exit 1; }
  elif ! kill -0 "$(cat "$STATE/keeper.pid" 2>/dev/null || echo none)" 2>/dev/null; then
    echo "bench: the fixture's Wine desktop is not up" >&2; exit 1
  fi
  wine "$B/bench_launch.exe" --warm >/dev/null 2>&1 || { echo "bench: Wine cannot show a window on $DISPLAY" >&2; exit 1; }
}
# launch ARGS...: bench_launch on the three programs.
launch() {
  if ! wine "$B/bench_launch.exe" --measured "$(winpath "$BIN/MorvelinBench.exe")" \
       --baseline "$(winpath "$BIN/bench_baseline.exe")" --dllfloor "$(winpath "$BIN/bench_dllfloor.exe")" \
       --settle "$SETTLE" --xvfb "${XVFB_PID:-0}" "$@" >>"$OUT" 2>"$STATE/bench-launch.err"; then
    cat "$STATE/bench-launch.err" >&2
    echo "bench: bench_launch failed" >&2
    exit 1
  fi
}
new_session
launch --reps 0 --idle "$IDLE"
new_session
launch --reps "$REPS" --idle 0
# The fitted calendar window's size, which the floor takes.
SIZE=$(awk '$1 == "INFO" && $2 == "window" && !found { sub("size=", "", $3); sub("\r", "", $3); print $3; found = 1 }' "$OUT")
[ -n "$SIZE" ] || { echo "bench: no window size of the calendar" >&2; exit 1; }

# Cold starts: a new Wine session (server, desktop, keeper) for every single
# start, as after a login; the programs take turns. The smoke run keeps the
# fixture's session and only checks that a single start is measured.
COLD_OUT="$STATE/bench-cold.txt"
: > "$COLD_OUT"
cold_once() {
  local name="$1" exe="$2"; shift 2
  if ! wine "$B/bench_launch.exe" --once "$name" "$(winpath "$exe")" --settle "$SETTLE" "$@" \
       >>"$COLD_OUT" 2>"$STATE/bench-launch.err"; then
    cat "$STATE/bench-launch.err" >&2
    echo "bench: cold start of $name failed" >&2
    exit 1
  fi
}
for i in $(seq 1 "$COLD"); do
  order=(measured baseline dllfloor)
  [ $((i % 2)) = 0 ] && order=(dllfloor baseline measured)
  [ $((i % 3)) = 0 ] && order=(baseline measured dllfloor)
  for name in "${order[@]}"; do
    [ "$MODE" = smoke ] || new_session
    case "$name" in
      measured) cold_once measured "$BIN/MorvelinBench.exe" ;;
      baseline) cold_once baseline "$BIN/bench_baseline.exe" ;;
      dllfloor) cold_once dllfloor "$BIN/bench_dllfloor.exe" --args "$SIZE" ;;
    esac
  done
done
tr -d '\r' < "$COLD_OUT" >> "$OUT"

# Start-up step by step: fresh processes of the calendar's start-up and of
# the floor's, taking turns, in one session.
new_session
STEPS_OUT="$STATE/bench-steps.txt"
: > "$STEPS_OUT"
for i in $(seq 1 "$STEPS"); do
  for part in steps floorsteps; do
    if ! wine "$B/bench_inproc.exe" --part "$part" --reps 3 --size "$SIZE" 2>"$STATE/bench-inproc.err" |
         tr -d '\r' | awk -v side="$part" '$1 == "STEP" { print "STEP", side, $2, $3, $4 }' >>"$STEPS_OUT"; then
      cat "$STATE/bench-inproc.err" >&2
      echo "bench: bench_inproc ($part) failed" >&2
      exit 1
    fi
  done
done
cat "$STEPS_OUT" >> "$OUT"

for part in layout font paint holidays clock open a11y; do
  new_session
  if ! wine "$B/bench_inproc.exe" --part "$part" --reps "$INPROC_REPS" >>"$OUT" 2>"$STATE/bench-inproc.err"; then
    cat "$STATE/bench-inproc.err" >&2
    echo "bench: bench_inproc ($part) failed" >&2
    exit 1
  fi
done
tr -d '\r' < "$OUT" > "$OUT.tmp" && mv "$OUT.tmp" "$OUT"

# field RESULT-NAME KEY: one value of a result line.
field() {
  awk -v n="$1" -v k="$2" '$1 == "RESULT" && $2 == n { for (i = 3; i <= NF; i++) { split($i, kv, "="); if (kv[1] == k) print kv[2] } }' "$OUT" | head -n1
}
# cold SIDE KEY: the median of KEY over the cold starts of SIDE.
cold() {
  awk -v s="$1" -v k="$2" '$1 == "SAMPLE" && $2 == s { for (i = 3; i <= NF; i++) { split($i, kv, "="); if (kv[1] == k) print kv[2] } }' "$COLD_OUT" |
    sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) exit; print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
# cold_noise SIDE KEY: interquartile range over the median, in percent.
cold_noise() {
  awk -v s="$1" -v k="$2" '$1 == "SAMPLE" && $2 == s { for (i = 3; i <= NF; i++) { split($i, kv, "="); if (kv[1] == k) print kv[2] } }' "$COLD_OUT" |
    sort -g | awk '
      function q(p,  pos, lo) { pos = p * (NR - 1) + 1; lo = int(pos); return v[lo] + (v[lo + 1 > NR ? NR : lo + 1] - v[lo]) * (pos - lo) }
      { v[NR] = $1 } END { if (NR == 0) exit; m = q(0.5); printf "%.0f", (m > 0 ? 100 * (q(0.75) - q(0.25)) / m : 0) }'
}
# step SIDE PHASE NAME: the median microseconds of one start-up step.
step() {
  awk -v s="$1" -v p="$2" -v n="$3" '$1 == "STEP" && $2 == s && $3 == p && $4 == n { print $5 }' "$STEPS_OUT" |
    sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) exit; print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "" || b == "" || b + 0 == 0) print ""; else printf "%.3f", a / b }'; }
detail() {
  awk -v n="$1" '$1 == "DETAIL" && $2 == n { for (i = 3; i <= NF; i++) { split($i, kv, "="); if (kv[1] == "median_us") print kv[2] } }' "$OUT" | head -n1
}

missing=0
for r in startup memory layout font paint holidays open open_template a11y idle startup_vs_dllfloor \
         memory_vs_dllfloor memory_vs_dllfloor_thread; do
  [ -n "$(field "$r" ratio)$(field "$r" measured_pct)" ] || { echo "bench: no result for $r" >&2; missing=1; }
done
for side in measured baseline dllfloor; do
  grep -q "^SAMPLE $side start_ms=[0-9.]* private" "$COLD_OUT" || { echo "bench: no cold start of $side" >&2; missing=1; }
done
for side in steps floorsteps; do
  grep -q "^STEP $side first window.create_to_first_paint " "$STEPS_OUT" || { echo "bench: no start-up steps of $side" >&2; missing=1; }
done
[ "$missing" = 0 ] || { cat "$OUT" >&2; exit 1; }

if [ "$MODE" = smoke ]; then
  echo "bench: smoke run complete; every figure was produced"
  exit 0
fi

# verdict RATIO LIMIT: PASS when RATIO <= LIMIT.
verdict() { awk -v r="$1" -v l="$2" 'BEGIN { print (r + 0 <= l + 0) ? "PASS" : "MISS" }'; }
fmt() { awk -v v="$1" -v d="$2" 'BEGIN { printf "%." d "f", v }'; }
noise() { printf '%s%% / %s%%' "$(field "$1" measured_iqr_pct)" "$(field "$1" baseline_iqr_pct)"; }

SIZE_BYTES=$(stat -c %s "$EXE")
SIZE_KIB=$(( (SIZE_BYTES + 1023) / 1024 ))
STRIPPED="$STATE/Morvelin.stripped.exe"
STRIPPED_KIB="?"
if x86_64-w64-mingw32-strip -o "$STRIPPED" "$EXE" 2>/dev/null; then
  STRIPPED_KIB=$(( ($(stat -c %s "$STRIPPED") + 1023) / 1024 ))
fi
DLLS=$(x86_64-w64-mingw32-objdump -p "$EXE" | awk '/DLL Name:/ { print $3 }' | tr '\n' ' ')
# Windows' own DLLs: anything else (a MinGW runtime DLL, say) would have to
# be shipped with the program.
own_dlls=" kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll ole32.dll oleaut32.dll shell32.dll msvcrt.dll advapi32.dll shlwapi.dll uxtheme.dll "
foreign=""
for d in $DLLS; do
  lc=$(echo "$d" | tr 'A-Z' 'a-z')
  case "$own_dlls" in *" $lc "*) ;; *) foreign="$foreign $d" ;; esac
done
SIZE_OK=PASS
{ [ "$SIZE_BYTES" -le 1048576 ] && [ -z "$foreign" ]; } || SIZE_OK=MISS

IDLE_PCT=$(field idle measured_pct)
SERVER_PCT=$(field idle wineserver_pct)
BOTH_PCT=$(awk -v a="$IDLE_PCT" -v b="$SERVER_PCT" 'BEGIN { printf "%.4f", a + b }')

CPU_MODEL=$(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)
WINE_VERSION=$(wine --version 2>/dev/null | head -n1)
echo
echo "Morvelin bench ($MODE): $(nproc) CPUs, $CPU_MODEL, $WINE_VERSION, $(date -u +%Y-%m-%d)"
echo "Medians of alternating runs; noise = interquartile range / median (measured / baseline)."
echo
echo "| Row | Measured (median) | Baseline (median) | Ratio | Target | Reps | Noise | Result |"
echo "|---|---|---|---|---|---|---|---|"
COLD_M=$(cold measured start_ms); COLD_B=$(cold baseline start_ms); COLD_F=$(cold dllfloor start_ms)
COLD_RB=$(ratio "$COLD_M" "$COLD_B"); COLD_RF=$(ratio "$COLD_M" "$COLD_F")
cold_noises() { printf '%s%% / %s%%' "$(cold_noise measured start_ms)" "$(cold_noise "$1" start_ms)"; }
echo "| start-up, warm | $(fmt "$(field startup measured)" 1) ms | $(fmt "$(field startup baseline)" 1) ms (bare dialog) | $(fmt "$(field startup ratio)" 2)x | <= 1.15x | $(field startup reps) | $(noise startup) | $(verdict "$(field startup ratio)" 1.15) |"
echo "| start-up, warm | $(fmt "$(field startup_vs_dllfloor measured)" 1) ms | $(fmt "$(field startup_vs_dllfloor baseline)" 1) ms (DLL floor, fitted size) | $(fmt "$(field startup_vs_dllfloor ratio)" 2)x | <= 1.10x | $(field startup_vs_dllfloor reps) | $(noise startup_vs_dllfloor) | $(verdict "$(field startup_vs_dllfloor ratio)" 1.10) |"
echo "| start-up, cold | $(fmt "$COLD_M" 1) ms | $(fmt "$COLD_B" 1) ms (bare dialog) | $(fmt "$COLD_RB" 2)x | <= 1.15x | $COLD | $(cold_noises baseline) | $(verdict "$COLD_RB" 1.15) |"
echo "| start-up, cold | $(fmt "$COLD_M" 1) ms | $(fmt "$COLD_F" 1) ms (DLL floor, fitted size) | $(fmt "$COLD_RF" 2)x | <= 1.10x | $COLD | $(cold_noises dllfloor) | $(verdict "$COLD_RF" 1.10) |"
echo "| creation to first paint | $(fmt "$(field open measured)" 0) us | $(fmt "$(field open baseline)" 0) us (empty dialog, fitted size) | $(fmt "$(field open ratio)" 2)x | <= 1.5x | $(field open reps) | $(noise open) | $(verdict "$(field open ratio)" 1.5) |"
echo "| layout pass | $(fmt "$(field layout measured)" 0) us | $(fmt "$(field layout baseline)" 0) us (move + centre) | $(fmt "$(field layout ratio)" 2)x | <= 2x | $(field layout reps) | $(noise layout) | $(verdict "$(field layout ratio)" 2) |"
echo "| paint | $(fmt "$(field paint measured)" 0) us | $(fmt "$(field paint baseline)" 0) us (SysMonthCal32) | $(fmt "$(field paint ratio)" 2)x | <= 1.0x | $(field paint reps) | $(noise paint) | $(verdict "$(field paint ratio)" 1.0) |"
echo "| holidays paint | $(fmt "$(field holidays measured)" 0) us | $(fmt "$(field holidays baseline)" 0) us (no holidays) | $(fmt "$(field holidays ratio)" 2)x | <= 1.05x | $(field holidays reps) | $(noise holidays) | $(verdict "$(field holidays ratio)" 1.05) |"
echo "| accessible tree | $(fmt "$(field a11y measured)" 0) us | $(fmt "$(field a11y baseline)" 0) us (full paint) | $(fmt "$(field a11y ratio)" 2)x | <= 1.0x | $(field a11y reps) | $(noise a11y) | $(verdict "$(field a11y ratio)" 1.0) |"
echo "| font change | $(fmt "$(field font measured)" 0) us | $(fmt "$(field font baseline)" 0) us (layout pass) | $(fmt "$(field font ratio)" 2)x | report | $(field font reps) | $(noise font) | - |"
echo "| idle | $(fmt "$(field idle measured_cpu_ms)" 1) ms CPU (+ wineserver $(fmt "$(field idle wineserver_ms)" 1) ms) | $(fmt "$(field idle seconds)" 0) s wall | $(fmt "$IDLE_PCT" 3)% (+ wineserver $(fmt "$SERVER_PCT" 3)% = $(fmt "$BOTH_PCT" 3)%) | <= 0.1% | 1 | - | program $(verdict "$IDLE_PCT" 0.1), with wineserver $(verdict "$BOTH_PCT" 0.1) |"
echo "| memory | $(fmt "$(field memory measured)" 0) KiB | $(fmt "$(field memory baseline)" 0) KiB (bare dialog) | $(fmt "$(field memory ratio)" 2)x | <= 1.2x | $(field memory reps) | $(noise memory) | $(verdict "$(field memory ratio)" 1.2) |"
echo "| memory | $(fmt "$(field memory_vs_dllfloor measured)" 0) KiB | $(fmt "$(field memory_vs_dllfloor baseline)" 0) KiB (DLL floor, fitted size) | $(fmt "$(field memory_vs_dllfloor ratio)" 2)x | <= 1.10x | $(field memory_vs_dllfloor reps) | $(noise memory_vs_dllfloor) | $(verdict "$(field memory_vs_dllfloor ratio)" 1.10) |"
echo "| size | $SIZE_KIB KiB ($STRIPPED_KIB KiB stripped) | - | - | <= 1 MiB, Windows DLLs only | - | - | $SIZE_OK |"
echo
FOREIGN_NOTE=""
[ -n "$foreign" ] && FOREIGN_NOTE=" (not Windows' own:$foreign)"
echo "Imports: $DLLS$FOREIGN_NOTE"
echo "The DLL floor is the bare dialog loading the calendar's platform DLLs at start-up (OLE, OLE Automation, common"
echo "controls) and sized like the fitted calendar window ($SIZE): $(fmt "$(field dllfloor_startup ratio)" 2)x the bare dialog's start-up, $(fmt "$(field dllfloor_memory ratio)" 2)x its memory."
echo "One thread started and ended costs the DLL floor $(fmt "$(field dllfloor_thread_memory measured)" 0) - $(fmt "$(field dllfloor_thread_memory baseline)" 0) KiB ($(fmt "$(field dllfloor_thread_memory ratio)" 2)x): Wine keeps the last ended"
echo "  thread's stacks; against that floor the calendar's memory is $(fmt "$(field memory_vs_dllfloor_thread ratio)" 2)x ($(noise memory_vs_dllfloor_thread) noise)."
echo "Cold: every start in a new Wine session (server, desktop and keeper started afresh), as after a login; memory then"
echo "  $(fmt "$(cold measured private_dirty_kib)" 0) KiB against $(fmt "$(cold dllfloor private_dirty_kib)" 0) KiB for the DLL floor ($(fmt "$(ratio "$(cold measured private_dirty_kib)" "$(cold dllfloor private_dirty_kib)")" 2)x)."
echo "Creation to first paint, warm, against the empty dialog at its template's size: $(fmt "$(field open_template baseline)" 0) us ($(fmt "$(field open_template ratio)" 2)x)."
echo "Memory is Linux's Private_Dirty of the process (Wine reports no private bytes); resident: $(fmt "$(field memory_rss measured)" 0) vs $(fmt "$(field memory_rss baseline)" 0) KiB."
echo "Idle: $(field idle seconds) s, half shown and half minimised (shown $(fmt "$(field idle shown_pct)" 3)%, minimised $(fmt "$(field idle minimised_pct)" 3)%); CPU from the Linux scheduler; the whole Wine tree $(fmt "$(field idle wine_tree_pct)" 3)%, Xvfb $(fmt "$(field idle xvfb_pct)" 3)%."
echo "Idling is the caption clock: one tick's caption $(fmt "$(detail clock.update_title)" 0) us, of which the platform takes $(fmt "$(detail clock.caption_alone)" 0) us to show any new caption of that length; the grid's look at the date on each tick $(fmt "$(detail clock.date_check)" 1) us."
echo "Accessible tree: the twelve months' every element read whole (name, role, state, description, location) through IAccessible in-process, against one full paint of the grid at its own size; getting the grid's object (AccessibleObjectFromWindow) $(fmt "$(detail a11y.object_from_window)" 0) us more."
echo "Layout pass: settings reads $(fmt "$(detail layout.read_settings)" 0) us of it, a section at a time (key by key: $(fmt "$(detail layout.read_settings_by_key)" 0) us; the profile function alone, key by key: $(fmt "$(detail layout.read_settings_api_alone)" 0) us); the puts $(fmt "$(detail layout.puts)" 0) us; the month view's Refresh alone $(fmt "$(detail layout.month_view_refresh)" 0) us."

# The start-up step by step: medians over fresh processes ("first": the
# process's first start-up; "again": the same start-up repeated in it).
srow() {
  local label="$1" name="$2" floor="${3:-}"
  local cf ca ff fa
  cf=$(step steps first "$name"); ca=$(step steps again "$name")
  if [ -n "$floor" ]; then ff=$(step floorsteps first "$floor"); fa=$(step floorsteps again "$floor"); fi
  printf '| %s | %s | %s | %s | %s |\n' "$label" "${cf:+$(fmt "$cf" 0)}" "${ca:+$(fmt "$ca" 0)}" \
    "${ff:+$(fmt "$ff" 0)}" "${fa:+$(fmt "$fa" 0)}"
}
echo
echo "Start-up step by step (in-process, us, medians of $STEPS processes each; first = the process's first start-up,"
echo "again = the same start-up repeated in it; the floor is the empty dialog at the fitted size, with OLE and the"
echo "common controls):"
echo
echo "| Step | Calendar, first | Calendar, again | Floor, first | Floor, again |"
echo "|---|---|---|---|---|"
srow "process creation to the program's entry (loader, DLLs)" process.entry process.entry
srow "OLE initialised" app.ole app.ole
srow "month grid's window class registered" app.grid_class
srow "common controls" app.common_controls app.common_controls
srow "window created, up to its initialisation" window.create.before_init window.create
srow "init: controls and data exchange" init.controls
srow "init: system menu entries and icons" init.system_menu_and_icons
srow "init: font (the whole step)" font
srow "init: font, the OLE font object alone" font.ole_object
srow "init: first layout pass" layout
srow "init: today's date to the grid" init.date
srow "init: first caption (the whole step)" clock
srow "init: first caption, locale switch to German" clock.locale
srow "init: first caption, locale switch back" clock.locale_back
srow "init: start-up worker started" init.worker
srow "window created, after its initialisation (focus)" window.create.after_init
srow "window created, in all" window.create window.create
srow "posted F5: second layout pass" layout#2
srow "queue run dry, window about to show" loop_to_show loop_to_show
srow "shown, to the grid's first paint (the floor: its own)" show_to_first_paint show_to_first_paint
srow "first paint of the grid" grid.paint
srow "worker: third layout pass (after the paint)" layout#3
srow "creation to first paint" window.create_to_first_paint window.create_to_first_paint
srow "OLE to first paint (the program's whole start-up)" start_to_first_paint start_to_first_paint
echo
awk '$1 == "INFO" { $1 = ""; print "Info:" $0 }' "$OUT" | sort -u
echo "Raw results: $OUT"
