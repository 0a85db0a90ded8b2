# Sourced by the black-box tests: start the real program under Wine on the
# fixture's display and watch it from outside, as a user would.
#   source common.sh EXE STATE NAME
# NAME gives the program copy its own name, and with it its own profile
# (%APPDATA%\NAME.ini), so tests never share settings.
set -euo pipefail
# A test run at another DPI (morvelin_at_dpi) names that fixture's state.
E2E_EXE="$1"; E2E_STATE="${MORVELIN_WINE_STATE:-$2}"; E2E_NAME="$3"
E2E_HARNESS="$(cd "$(dirname "${BASH_SOURCE[0]}")/../harness" && pwd)"
source "$E2E_HARNESS/wine-env.sh" "$E2E_STATE"
[ -n "${DISPLAY:-}" ] || { echo "no fixture display" >&2; exit 1; }
# The fixture brought the session up with a working desktop and keeps it
# (wine_desktop_up); without one a program shows no window at all.
kill -0 "$(cat "$E2E_STATE/keeper.pid" 2>/dev/null || echo none)" 2>/dev/null \
  || { echo "the fixture's Wine desktop is not up" >&2; exit 1; }
E2E_DIR="$E2E_STATE/e2e/$E2E_NAME"
mkdir -p "$E2E_DIR"
E2E_COPY="$E2E_DIR/$E2E_NAME.exe"
cp "$E2E_EXE" "$E2E_COPY"
E2E_PROFILE="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/$E2E_NAME.ini"
E2E_PID=""
E2E_WIN=""

fail() { echo "FAIL: $*" >&2; exit 1; }

profile_reset() { rm -f "$E2E_PROFILE"; }

# Starts the program; sets E2E_PID. Its standard error is kept, with Wine's
# loader errors, for app_running.
app_start() {
  WINEDEBUG="$(wine_debug_loader)" wine "$E2E_COPY" >/dev/null 2>"$E2E_DIR/wine.err" &
  E2E_PID=$!
}

# True while the program runs. A start that Wine's loader lost before any of
# the program's code ran (see wine-env.sh) is made again, twice at most in a
# test, and counts as running.
E2E_LOADER_RETRIES=0
app_running() {
  kill -0 "$E2E_PID" 2>/dev/null && return 0
  if [ "$E2E_LOADER_RETRIES" -lt 2 ] && grep -q "$WINE_LOADER_LOST" "$E2E_DIR/wine.err" 2>/dev/null; then
    E2E_LOADER_RETRIES=$((E2E_LOADER_RETRIES + 1))
    echo "note: Wine's loader could not start the program; started again" >&2
    app_start
    return 0
  fi
  return 1
}

# Waits for the program's visible top-level window; sets E2E_WIN.
app_wait_window() {
  local t
  for t in $(seq 1 150); do
    E2E_WIN=$(xdotool search --all --onlyvisible --pid "$E2E_PID" --name '^Morvelin' 2>/dev/null | head -n1 || true)
    [ -n "$E2E_WIN" ] && return 0
    app_running || fail "program ended before its window showed"
    sleep 0.1
  done
  fail "no window after 15 s"
}

# Waits up to $1 seconds for the program to end; fails otherwise. Sets
# E2E_RC to its exit code.
app_wait_exit() {
  local limit="${1:-10}" t
  for t in $(seq 1 $((limit * 10))); do
    if ! kill -0 "$E2E_PID" 2>/dev/null; then
      E2E_RC=0
      wait "$E2E_PID" 2>/dev/null || E2E_RC=$?
      return 0
    fi
    sleep 0.1
  done
  fail "program still running after $limit s"
}

app_kill() {
  [ -n "$E2E_PID" ] && kill "$E2E_PID" 2>/dev/null || true
}

caption() { xprop -id "$E2E_WIN" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'; }

# Geometry of the window: prints "X Y W H" (outer frame, as X sees it).
geometry() {
  xwininfo -id "$E2E_WIN" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'
}

screenshot() { import -window root "$1"; }

# Drags the window by its caption, as a user moves it: by (dx, dy).
drag_window() {
  local dx="$1" dy="$2" x y w h
  read -r x y w h < <(geometry)
  xdotool mousemove "$((x + w / 2))" "$((y + 10))" mousedown 1
  sleep 0.2
  xdotool mousemove "$((x + w / 2 + dx / 2))" "$((y + 10 + dy / 2))"
  sleep 0.2
  xdotool mousemove "$((x + w / 2 + dx))" "$((y + 10 + dy))"
  sleep 0.2
  xdotool mouseup 1
  sleep 0.3
}

trap app_kill EXIT
