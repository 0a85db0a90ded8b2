#!/usr/bin/env bash
# Test fixture: `fixture.sh start STATE WARM_EXE` brings up a private Xvfb
# display, the Wine prefix and a resident Wine process that keeps wineserver
# warm between tests; `fixture.sh stop STATE` takes it all down again.
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
  rm -f "$STATE/display"
}

case "$cmd" in
  start)
    WARM="$3"
    stop_all
    # -displayfd picks a free display number, so we never take someone else's.
    rm -f "$STATE/display.fd"
    setsid Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp -noreset \
      9>"$STATE/display.fd" >/dev/null 2>&1 < /dev/null &
    echo $! > "$STATE/xvfb.pid"
    for _ in $(seq 1 200); do
      [ -s "$STATE/display.fd" ] && break
      sleep 0.05
    done
    [ -s "$STATE/display.fd" ] || { echo "Xvfb did not start" >&2; exit 1; }
    echo ":$(tr -d '[:space:]' < "$STATE/display.fd")" > "$STATE/display"
    source "$HARNESS/display.sh"
    display_as_a_desktop "$(cat "$STATE/display")"
    source "$HARNESS/wine-env.sh" "$STATE"
    wine_ensure_prefix
    rm -f "$STATE/warm.ready"
    setsid wine "$WARM" "Z:${STATE//\//\\}\\warm.ready" >/dev/null 2>&1 < /dev/null &
    # The resident process is up once it has written its marker.
    for _ in $(seq 1 300); do
      [ -f "$STATE/warm.ready" ] && break
      sleep 0.1
    done
    echo "fixture: display $DISPLAY, prefix $WINEPREFIX"
    ;;
  stop)
    stop_all
    ;;
  *)
    echo "usage: fixture.sh start|stop STATE [WARM_EXE]" >&2; exit 2;;
esac
