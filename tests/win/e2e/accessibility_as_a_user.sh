#!/usr/bin/env bash
# The calendar without a mouse and without sight: a program of its own
# (a11y_reader) reads the running calendar from another process as a screen
# reader does (the tree from the window with the keyboard focus, the events
# while the user presses keys), and the parameter dialog's colour fields
# are reached, read and opened with the keyboard alone.
#   accessibility_as_a_user.sh EXE STATE READER
source "$(dirname "$0")/common.sh" "$1" "$2" MorvelinA11y
source "$E2E_HARNESS/display.sh"
READER="$3"
# The platform's colour chooser, in the language of the platform's own
# texts (Wine's are English).
CHOOSER_TITLE='^(Farbe|Color)$'
winpath() { printf 'Z:%s' "${1//\//\\}"; }
# reader MODE OUT [ARGS...]: runs the reader, shows what it read.
reader() {
  local mode="$1" out="$2"; shift 2
  local rc=0
  wine "$READER" "$mode" "$(winpath "$out")" "$@" >/dev/null 2>&1 || rc=$?
  sed 's/^/  /' "$out" 2>/dev/null || true
  return $rc
}

profile_reset
app_start
app_wait_window
sleep 1

reader tree "$E2E_DIR/tree.txt" || fail "the tree as a screen reader reads it (see above)"
echo "ok: the tree, read from another process"

rm -f "$E2E_DIR/events.txt" "$E2E_DIR/events.txt.ready"
wine "$READER" watch "$(winpath "$E2E_DIR/events.txt")" 15 >/dev/null 2>&1 &
WATCH_PID=$!
for _ in $(seq 1 100); do [ -f "$E2E_DIR/events.txt.ready" ] && break; sleep 0.1; done
[ -f "$E2E_DIR/events.txt.ready" ] || fail "the reader did not start listening"
sleep 0.5
xdotool key Right
sleep 0.5
xdotool key Next
rc=0
wait "$WATCH_PID" || rc=$?
sed 's/^/  /' "$E2E_DIR/events.txt"
[ "$rc" = 0 ] || fail "the events as a screen reader hears them (see above)"
echo "ok: the focus follows the keys, the months' change is announced"
screenshot "$E2E_DIR/calendar.png"

# The parameter dialog from the system menu: Alt+Space, then up from the
# bottom entry ("Aktualisieren") to "Parameter ...".
xdotool key alt+space
sleep 0.5
xdotool key Up Up Return
DLG=$(window_of "$E2E_PID" '^Parameter$')
[ -n "$DLG" ] || fail "the parameter dialog did not open from the keyboard"
sleep 0.5
# Columns, rows, "Font ...", then the first colour field.
xdotool key Tab Tab Tab
sleep 0.3
reader swatches "$E2E_DIR/swatches.txt" || fail "the colour fields as a screen reader reads them (see above)"
screenshot "$E2E_DIR/parameters-focus.png"
echo "ok: Tab reaches the colour fields, each named after its label"

xdotool key space
CHOOSER=$(window_of "$E2E_PID" "$CHOOSER_TITLE")
[ -n "$CHOOSER" ] || fail "Space on a colour field did not open the colour chooser"
xdotool key Escape
sleep 0.5
xdotool key Tab
sleep 0.2
xdotool key Return
CHOOSER=$(window_of "$E2E_PID" "$CHOOSER_TITLE")
[ -n "$CHOOSER" ] || fail "Enter on a colour field did not open the colour chooser"
xdotool key Escape
sleep 0.5
xwininfo -id "$DLG" 2>/dev/null | grep -q IsViewable || fail "Enter on the colour field closed the dialog"
[ ! -f "$E2E_PROFILE" ] || ! grep -q 'Color' "$E2E_PROFILE" || fail "a cancelled chooser stored a colour"
echo "ok: Space and Enter open the colour chooser; Escape leaves the colour as it was"
xdotool key Escape
