#!/usr/bin/env bash
# Test fixture: `fixture.sh start STATE KEEPER_EXE [DPI BASE_STATE]` brings up
# a private Xvfb display, the Wine prefix and a Wine session whose desktop
# works, held by the resident KEEPER_EXE (winewarm.exe), which also keeps
# wineserver warm between tests; `fixture.sh stop STATE` takes it all down.
#
# With DPI, the session runs at that system DPI in a prefix of its own,
# copied from BASE_STATE's (which must be ready) the first time: tests run
# at DPI N by naming STATE in MORVELIN_WINE_STATE (see wine-run.sh.in).
set -euo pipefail
cmd="$1"; STATE="$2"
HARNESS="$(cd "$(dirname "$0")" && pwd)"
mkdir -p "$STATE"

stop_all() {
  if [ -f "$STATE/display" ]; then
    source "$HARNESS/wine-env.sh" "$STATE"
    wineserver -k >/dev/null 2>&1 || true
  fi
  if [ -f "$STATE/xvfb.pid" ]; then
    kill "$(cat "$STATE/xvfb.pid")" >/dev/null 2>&1 || true
    rm -f "$STATE/xvfb.pid"
  fi
  rm -f "$STATE/display" "$STATE/keeper.pid" "$STATE/desktop.ready"
}

case "$cmd" in
  start)
    KEEPER="$3"; DPI="${4:-}"; BASE="${5:-}"
    stop_all
    if [ -n "$DPI" ]; then
      source "$HARNESS/wine-env.sh" "$STATE"
      wine_copy_prefix "$BASE"
    fi
    # -displayfd picks a free display number, so we never take someone else's.
    # The screen has the same size in inches at every DPI.
    source "$HARNESS/display.sh"
    rm -f "$STATE/display.fd"
    setsid Xvfb -displayfd 9 -screen 0 "$(display_screen "${DPI:-96}")x24" -nolisten tcp -noreset \
      9>"$STATE/display.fd" >/dev/null 2>&1 < /dev/null &
    echo $! > "$STATE/xvfb.pid"
    for _ in $(seq 1 200); do
      [ -s "$STATE/display.fd" ] && break
      sleep 0.05
    done
    [ -s "$STATE/display.fd" ] || { echo "Xvfb did not start" >&2; exit 1; }
    echo ":$(tr -d '[:space:]' < "$STATE/display.fd")" > "$STATE/display"
    display_as_a_desktop "$(cat "$STATE/display")" "${DPI:-96}"
    source "$HARNESS/wine-env.sh" "$STATE"
    wine_ensure_prefix
    [ -z "$DPI" ] || wine_set_dpi "$DPI"
    wine_desktop_up "$KEEPER" || { echo "fixture: no working Wine desktop on $DISPLAY" >&2; exit 1; }
    echo "fixture: display $DISPLAY, prefix $WINEPREFIX${DPI:+, $DPI DPI}"
    ;;
  stop)
    stop_all
    ;;
  *)
    echo "usage: fixture.sh start|stop STATE [KEEPER_EXE [DPI BASE_STATE]]" >&2; exit 2;;
esac
