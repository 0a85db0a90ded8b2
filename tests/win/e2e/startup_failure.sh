#!/usr/bin/env bash
# A start in which no window can be made (the display driver kept from
# loading in the program's process, as when Wine's desktop process could not
# reach the display): the program ends at once with exit code 6 and says why
# in German on standard error, as one line, and in the debug output; with no
# standard error at all it still ends with that code.
source "$(dirname "$0")/common.sh" "$1" "$2" MorvelinNoWindow

# run_without_driver ERRFILE [REDIRECT]: runs the program so; sets RC. A start
# that Wine's loader lost (see wine-env.sh) is made again.
run_without_driver() {
  local err="$1" closed="${2:-}" attempt
  for attempt in 1 2 3; do
    set +e
    if [ "$closed" = closed ]; then
      WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winex11.drv=d" timeout 60 wine "$E2E_COPY" >/dev/null 2>&-
      RC=$?
      : >"$err"
    else
      WINEDEBUG="$(wine_debug_loader),warn+seh" WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winex11.drv=d" \
        timeout 60 wine "$E2E_COPY" >/dev/null 2>"$err"
      RC=$?
    fi
    set -e
    [ "$RC" = 1 ] && grep -q "$WINE_LOADER_LOST" "$err" 2>/dev/null || return 0
    echo "note: Wine's loader could not start the program; started again" >&2
  done
}

profile_reset
err="$E2E_DIR/nodriver.err"
run_without_driver "$err"
[ "$RC" = 6 ] || fail "exit code $RC, not 6 (the calendar window could not be created); stderr: $(cat "$err")"
line="MorvelinNoWindow: Das Kalenderfenster konnte nicht erstellt werden \(Fehler [0-9]+\)\. Das Programm wird beendet\."
# The program's own line, UTF-8, CR LF; Wine's channels write theirs too.
grep -aEq "^$line"$'\r'"\$" "$err" || fail "no German reason on standard error: $(cat "$err")"
[ "$(grep -aEc "^MorvelinNoWindow: " "$err")" = 1 ] || fail "the reason is not one line: $(cat "$err")"
echo "ok: exit code 6 and the reason on standard error"
# Wine shows a program's debug output on its exception channel.
grep -aEq "OutputDebugStringA \"$line\\\\n\"" "$err" || fail "no reason in the debug output: $(cat "$err")"
echo "ok: the reason in the debug output"
[ ! -e "$E2E_PROFILE" ] || fail "a start that failed wrote the profile"

run_without_driver "$err" closed
[ "$RC" = 6 ] || fail "exit code $RC, not 6, without standard error"
echo "ok: without standard error the exit code still says so"
