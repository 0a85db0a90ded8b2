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
case "$MODE" in
  full)  REPS=31; INPROC_REPS=61;  SETTLE=1000; IDLE=60 ;;
  quick) REPS=5;  INPROC_REPS=21;  SETTLE=800;  IDLE=6 ;;
  smoke) REPS=2;  INPROC_REPS=3;   SETTLE=300;  IDLE=2 ;;
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
detail() {
  awk -v n="$1" '$1 == "DETAIL" && $2 == n { for (i = 3; i <= NF; i++) { split($i, kv, "="); if (kv[1] == "median_us") print kv[2] } }' "$OUT" | head -n1
}

missing=0
for r in startup memory layout font paint holidays open a11y idle startup_vs_dllfloor memory_vs_dllfloor; do
  [ -n "$(field "$r" ratio)$(field "$r" measured_pct)" ] || { echo "bench: no result for $r" >&2; missing=1; }
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
echo "| start-up | $(fmt "$(field startup measured)" 1) ms | $(fmt "$(field startup baseline)" 1) ms (bare dialog) | $(fmt "$(field startup ratio)" 2)x | <= 1.10x | $(field startup reps) | $(noise startup) | $(verdict "$(field startup ratio)" 1.10) |"
echo "| layout pass | $(fmt "$(field layout measured)" 0) us | $(fmt "$(field layout baseline)" 0) us (move + centre) | $(fmt "$(field layout ratio)" 2)x | <= 2x | $(field layout reps) | $(noise layout) | $(verdict "$(field layout ratio)" 2) |"
echo "| paint | $(fmt "$(field paint measured)" 0) us | $(fmt "$(field paint baseline)" 0) us (SysMonthCal32) | $(fmt "$(field paint ratio)" 2)x | <= 1.0x | $(field paint reps) | $(noise paint) | $(verdict "$(field paint ratio)" 1.0) |"
echo "| holidays paint | $(fmt "$(field holidays measured)" 0) us | $(fmt "$(field holidays baseline)" 0) us (no holidays) | $(fmt "$(field holidays ratio)" 2)x | <= 1.05x | $(field holidays reps) | $(noise holidays) | $(verdict "$(field holidays ratio)" 1.05) |"
echo "| accessible tree | $(fmt "$(field a11y measured)" 0) us | $(fmt "$(field a11y baseline)" 0) us (full paint) | $(fmt "$(field a11y ratio)" 2)x | <= 1.0x | $(field a11y reps) | $(noise a11y) | $(verdict "$(field a11y ratio)" 1.0) |"
echo "| font change | $(fmt "$(field font measured)" 0) us | $(fmt "$(field font baseline)" 0) us (layout pass) | $(fmt "$(field font ratio)" 2)x | report | $(field font reps) | $(noise font) | - |"
echo "| idle | $(fmt "$(field idle measured_cpu_ms)" 1) ms CPU (+ wineserver $(fmt "$(field idle wineserver_ms)" 1) ms) | $(fmt "$(field idle seconds)" 0) s wall | $(fmt "$IDLE_PCT" 3)% (+ wineserver $(fmt "$SERVER_PCT" 3)% = $(fmt "$BOTH_PCT" 3)%) | <= 0.1% | 1 | - | program $(verdict "$IDLE_PCT" 0.1), with wineserver $(verdict "$BOTH_PCT" 0.1) |"
echo "| memory | $(fmt "$(field memory measured)" 0) KiB | $(fmt "$(field memory baseline)" 0) KiB (bare dialog) | $(fmt "$(field memory ratio)" 2)x | <= 1.2x | $(field memory reps) | $(noise memory) | $(verdict "$(field memory ratio)" 1.2) |"
echo "| size | $SIZE_KIB KiB ($STRIPPED_KIB KiB stripped) | - | - | <= 1 MiB, Windows DLLs only | - | - | $SIZE_OK |"
echo
FOREIGN_NOTE=""
[ -n "$foreign" ] && FOREIGN_NOTE=" (not Windows' own:$foreign)"
echo "Imports: $DLLS$FOREIGN_NOTE"
echo "Against the same dialog loading the calendar's platform DLLs at start-up (OLE, OLE Automation, common controls):"
echo "  start-up $(fmt "$(field startup_vs_dllfloor ratio)" 2)x (that floor: $(fmt "$(field dllfloor_startup measured)" 1) ms, $(fmt "$(field dllfloor_startup ratio)" 2)x the bare dialog),"
echo "  memory $(fmt "$(field memory_vs_dllfloor ratio)" 2)x (that floor: $(fmt "$(field dllfloor_memory measured)" 0) KiB, $(fmt "$(field dllfloor_memory ratio)" 2)x the bare dialog)."
echo "Memory is Linux's Private_Dirty of the process (Wine reports no private bytes); resident: $(fmt "$(field memory_rss measured)" 0) vs $(fmt "$(field memory_rss baseline)" 0) KiB."
echo "Idle: $(field idle seconds) s, half shown and half minimised (shown $(fmt "$(field idle shown_pct)" 3)%, minimised $(fmt "$(field idle minimised_pct)" 3)%); CPU from the Linux scheduler; the whole Wine tree $(fmt "$(field idle wine_tree_pct)" 3)%, Xvfb $(fmt "$(field idle xvfb_pct)" 3)%."
echo "Idling is the caption clock: one tick's caption $(fmt "$(detail clock.update_title)" 0) us, of which the platform takes $(fmt "$(detail clock.caption_alone)" 0) us to show any new caption of that length; the grid's look at the date on each tick $(fmt "$(detail clock.date_check)" 1) us."
echo "Start-up's own share (in-process, warm): the calendar window from creation to its first paint $(fmt "$(field open measured)" 0) us against $(fmt "$(field open baseline)" 0) us for the empty dialog ($(fmt "$(field open ratio)" 2)x, $(field open reps) each)."
echo "Accessible tree: the twelve months' every element read whole (name, role, state, description, location) through IAccessible in-process, against one full paint of the grid at its own size; getting the grid's object (AccessibleObjectFromWindow) $(fmt "$(detail a11y.object_from_window)" 0) us more."
echo "Layout pass: settings reads $(fmt "$(detail layout.read_settings)" 0) us of it; the month view's Refresh alone $(fmt "$(detail layout.month_view_refresh)" 0) us."
awk '$1 == "INFO" { $1 = ""; print "Info:" $0 }' "$OUT" | sort -u
echo "Raw results: $OUT"
