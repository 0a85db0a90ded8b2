#!/usr/bin/env bash
# Cold starts of the calendar, each exactly as `make run` does it on a
# machine without a display: a new virtual display and a new Wine server
# every time, as after a login. Counts the starts that showed the calendar.
#   tools/coldstarts.sh EXE COUNT STATE [BASE_STATE]
# STATE holds the display and prefix (the prefix copied from BASE_STATE's
# ready one when given, made otherwise). Prints "cold starts: K of COUNT
# showed the calendar" and how often Wine's desktop had to be brought up
# again; the exit status is 0 only when every start showed the calendar.
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
EXE="$(realpath "$1")"; COUNT="$2"; STATE="$(realpath -m "$3")"; BASE="${4:-}"
mkdir -p "$STATE"
if [ -n "$BASE" ] && [ -f "$BASE/prefix/.morvelin-ready" ]; then
  source "$ROOT/tests/win/harness/wine-env.sh" "$STATE"
  wine_copy_prefix "$BASE" || exit 1
fi

shown=0 again=0
for i in $(seq 1 "$COUNT"); do
  log="$STATE/start.log"
  if env -u DISPLAY MORVELIN_RUN_STATE="$STATE" MORVELIN_RUN_SETTLE=0 \
       "$ROOT/tools/run.sh" "$EXE" "$(dirname "$EXE")" >"$log" 2>&1; then
    shown=$((shown + 1))
  else
    echo "cold start $i failed: $(grep -v '^No DISPLAY' "$log" | tr '\n' ' ')" >&2
  fi
  again=$((again + $(grep -c 'no working desktop' "$log")))
done
echo "cold starts: $shown of $COUNT showed the calendar (Wine's desktop brought up again $again times)"
[ "$shown" = "$COUNT" ]
