#!/usr/bin/env bash
# The program starts on its calendar window and ends when that window is
# closed, with exit code 0: by Escape, Enter, Alt+F4 or the close box.
source "$(dirname "$0")/common.sh" "$1" "$2" MorvelinStart

for how in Escape Return alt+F4 closebox; do
  profile_reset
  app_start
  app_wait_window
  sleep 0.5
  case "$how" in
    closebox)
      read -r x y w h < <(geometry)
      # The close box sits at the right end of the caption.
      xdotool mousemove "$((x + w - 12))" "$((y + 12))" click 1 ;;
    *)
      xdotool key "$how" ;;
  esac
  app_wait_exit 10 || fail "$how did not end the program"
  [ "$E2E_RC" = 0 ] || fail "$how ended the program with exit code $E2E_RC, not 0"
  echo "ok: $how ends the program, with exit code 0"
done
