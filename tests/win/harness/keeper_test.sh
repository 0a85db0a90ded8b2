#!/usr/bin/env bash
# The readiness signal itself: the keeper reports a Wine session whose
# desktop can show no window (here made so by keeping the X11 driver from
# loading in it, as happens when the desktop process cannot connect to the
# display) and leaves no marker; wine_desktop_up then gives up after its
# attempts. In a sound session the keeper marks it ready and stays.
#   keeper_test.sh KEEPER_EXE STATE BASE_STATE
set -euo pipefail
KEEPER="$1"; STATE="$2"; BASE="$3"
HARNESS="$(cd "$(dirname "$0")" && pwd)"
source "$HARNESS/display.sh"
trap 'display_stop "$STATE"' EXIT
display_start "$STATE"
source "$HARNESS/wine-env.sh" "$STATE"
wine_copy_prefix "$BASE"
wineserver -k >/dev/null 2>&1 || true

fail() { echo "FAIL: $*" >&2; exit 1; }
marker="$STATE/broken.ready"
rm -f "$marker"
rc=0
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winex11.drv=d" timeout 60 wine "$KEEPER" "$(wine_path "$marker")" \
  >/dev/null 2>"$STATE/broken.err" </dev/null || rc=$?
[ "$rc" = 3 ] || fail "the keeper ended with $rc in a session without a display driver, not 3"
[ ! -e "$marker" ] || fail "the keeper marked a session without a display driver ready"
grep -q 'no display driver' "$STATE/broken.err" || fail "the keeper did not say why: $(cat "$STATE/broken.err")"
echo "ok: a session without a display driver is reported (exit code 3, no marker)"
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true

# wine_desktop_up keeps trying, each time in a new session, and then fails.
if MORVELIN_DESKTOP_ATTEMPTS=2 WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winex11.drv=d" \
     wine_desktop_up "$KEEPER" 2>"$STATE/up.err"; then
  fail "wine_desktop_up reported a session without a display driver as up"
fi
attempts=$(grep -c 'no working desktop' "$STATE/up.err" || true)
[ "$attempts" = 2 ] || fail "wine_desktop_up made $attempts attempts, not 2: $(cat "$STATE/up.err")"
echo "ok: wine_desktop_up tries a new session each time and then fails"

wine_desktop_up "$KEEPER" || fail "no working desktop in a sound session"
[ -f "$STATE/desktop.ready" ] || fail "no marker"
kill -0 "$WINE_KEEPER_PID" 2>/dev/null || fail "the keeper did not stay"
echo "ok: a sound session is marked ready and kept"
