#!/usr/bin/env bash
# Closing the program the moment its window appears, while its start-up
# work (the posted refresh, the worker that settles the window) may still
# be under way: it ends cleanly (exit code 0 or 1, no crash) and leaves the
# profile as it was, present or absent.
source "$(dirname "$0")/common.sh" "$1" "$2" MorvelinEarlyClose

runs=0
for profile in absent 2x2; do
  for delay in 0 0 0.03 0.06 0.1; do
    for key in Escape alt+F4; do
      rm -f "$E2E_PROFILE"
      [ "$profile" = absent ] || printf '[Allgemein]\r\nSpalten=2\r\nZeilen=2\r\n' >"$E2E_PROFILE"
      before=$( [ -e "$E2E_PROFILE" ] && sha256sum <"$E2E_PROFILE" || echo absent)
      app_start
      E2E_WIN=""
      for _ in $(seq 1 500); do
        E2E_WIN=$(xdotool search --all --onlyvisible --pid "$E2E_PID" --name '^Morvelin' 2>/dev/null | head -n1 || true)
        [ -n "$E2E_WIN" ] && break
        app_running || fail "profile $profile: the program ended before its window showed"
        sleep 0.01
      done
      [ -n "$E2E_WIN" ] || fail "profile $profile: no window"
      # The key must reach the window: it takes the focus a few ms after it
      # shows.
      for _ in $(seq 1 100); do
        [ "$(xdotool getwindowfocus 2>/dev/null || true)" = "$E2E_WIN" ] && break
        sleep 0.01
      done
      sleep "$delay"
      xdotool key "$key"
      rc=""
      for _ in $(seq 1 100); do
        if ! kill -0 "$E2E_PID" 2>/dev/null; then
          rc=0; wait "$E2E_PID" || rc=$?
          break
        fi
        sleep 0.1
      done
      [ -n "$rc" ] || fail "profile $profile, $key after ${delay}s: still running after 10 s"
      [ "$rc" -le 1 ] || fail "profile $profile, $key after ${delay}s: exit code $rc"
      after=$( [ -e "$E2E_PROFILE" ] && sha256sum <"$E2E_PROFILE" || echo absent)
      [ "$after" = "$before" ] || fail "profile $profile, $key after ${delay}s: the profile changed"
      runs=$((runs + 1))
    done
  done
  echo "ok: profile $profile: closed at once $runs times, exit code 0 or 1, profile unchanged"
  runs=0
done
rm -f "$E2E_PROFILE"
