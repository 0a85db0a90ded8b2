# Sourced: sets up the Wine environment for one state folder.
#   source wine-env.sh STATE_DIR
# STATE_DIR/prefix is the WINEPREFIX; STATE_DIR/display, when present,
# names the private X display (written by fixture.sh).
#
#   wine_ensure_prefix        makes the prefix, once, and brings an older
#                             one up to the current set-up
#   wine_copy_prefix BASE     makes the prefix a copy of BASE state's one
#   wine_set_dpi DPI          the prefix's system DPI (for programs started
#                             in the next Wine session)
#   wine_desktop_up KEEPER    brings up a Wine session whose desktop works and
#                             keeps it with the resident KEEPER (winewarm.exe)
#   wine_desktop_down         ends that keeper
#   wine_path PATH            PATH as Windows programs name it (drive Z:)
#   wine_debug_loader         WINEDEBUG that shows WINE_LOADER_LOST
MORVELIN_STATE="$(realpath -m "$1")"
mkdir -p "$MORVELIN_STATE"
export WINEPREFIX="$MORVELIN_STATE/prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installers: they would prompt on a fresh prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
if [ -s "$MORVELIN_STATE/display" ]; then
  export DISPLAY="$(cat "$MORVELIN_STATE/display")"
fi

# What wine_ensure_prefix has done to a prefix; a prefix set up by an older
# version of it gets the steps it lacks.
MORVELIN_PREFIX_SETUP=2

wine_path() { printf 'Z:%s' "${1//\//\\}"; }

# Now and then (about one start in 3000 here) Wine's loader cannot lay out a
# new process's address space: the process ends with exit code 1 before any
# of its own code ran, and with the virtual memory channel's errors on it
# says so in this text. Programs the harness starts and watches get that
# channel (WINEDEBUG="$(wine_debug_loader)") and are started again when
# their standard error shows it.
WINE_LOADER_LOST='failed to map the shared user data'
wine_debug_loader() { printf '%s,err+virtual' "$WINEDEBUG"; }

# Creates the prefix once. A lock guards against parallel first runs.
wine_ensure_prefix() {
  [ "$(cat "$WINEPREFIX/.morvelin-ready" 2>/dev/null)" = "$MORVELIN_PREFIX_SETUP" ] && return 0
  (
    flock 9
    if [ "$(cat "$WINEPREFIX/.morvelin-ready" 2>/dev/null)" != "$MORVELIN_PREFIX_SETUP" ]; then
      [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1 || true
      # Debian's Wine 8 looks for its own fonts (Tahoma, Marlett for the
      # caption buttons, MS Sans Serif for dialogs) in a folder that does not
      # exist; the prefix's Fonts folder is always searched. Both kinds are
      # needed: Wine skips its bitmap-only TrueType files (ms_sans_serif.ttf,
      # from which its build makes the .fon files), so without the .fon files
      # the dialogs' "MS Sans Serif" is a wider stand-in from the host.
      if [ -d /usr/share/wine/fonts ]; then
        cp -n /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon \
          "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
      fi
      # Without a window manager every closed managed window costs seconds.
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d Y /f >/dev/null 2>&1
      wineserver -w
      echo "$MORVELIN_PREFIX_SETUP" > "$WINEPREFIX/.morvelin-ready"
    fi
  ) 9>"$MORVELIN_STATE/prefix.lock"
}

# Makes this state's prefix a copy of BASE_STATE's ready one (seconds, where
# making a prefix takes half a minute), without the base's profiles; a ready
# prefix of its own is kept.
wine_copy_prefix() {
  local base="$(realpath -m "$1")/prefix"
  [ -f "$WINEPREFIX/.morvelin-ready" ] && return 0
  [ -f "$base/.morvelin-ready" ] || { echo "wine: $base is not a ready prefix" >&2; return 1; }
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.morvelin-ready" ]; then
      rm -rf "$WINEPREFIX.tmp"
      cp -a --reflink=auto "$base" "$WINEPREFIX.tmp"
      rm -f "$WINEPREFIX.tmp"/drive_c/users/*/AppData/Roaming/*.ini "$WINEPREFIX.tmp/.morvelin-dpi"
      rm -rf "$WINEPREFIX"
      mv "$WINEPREFIX.tmp" "$WINEPREFIX"
    fi
  ) 9>"$MORVELIN_STATE/prefix.lock"
}

# Sets the system DPI that programs of the prefix see (HKCU\Control Panel\
# Desktop, LogPixels; a prefix that never set it has 96). Programs read it
# when they start: change it while no Wine session of the prefix runs.
wine_set_dpi() {
  local dpi="$1"
  [ "$(cat "$WINEPREFIX/.morvelin-dpi" 2>/dev/null || echo 96)" = "$dpi" ] && return 0
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wineserver -w
  echo "$dpi" > "$WINEPREFIX/.morvelin-dpi"
}

# A fresh Wine server starts its desktop process on the first window any
# program asks for. Now and then that process cannot connect to the X
# display (seen under load: XOpenDisplay fails in it), and the session is
# left with a desktop window but no display driver: every window any program
# of it creates fails, silently, until the server ends. So the session is
# brought up by KEEPER, which creates a window and stays while programs run;
# when it cannot, the server is ended and started again (at most
# MORVELIN_DESKTOP_ATTEMPTS sessions, 5). Sets WINE_KEEPER_PID; the keeper's
# Linux process id is also in STATE/keeper.pid.
wine_desktop_up() {
  local keeper="$1" marker="$MORVELIN_STATE/desktop.ready" err="$MORVELIN_STATE/desktop.err"
  local attempt pid _
  WINE_KEEPER_PID=""
  for attempt in $(seq 1 "${MORVELIN_DESKTOP_ATTEMPTS:-5}"); do
    rm -f "$marker"
    setsid wine "$keeper" "$(wine_path "$marker")" >/dev/null 2>"$err" </dev/null &
    pid=$!
    # A first session on a new prefix takes a while to boot.
    for _ in $(seq 1 600); do
      if [ -f "$marker" ]; then
        WINE_KEEPER_PID=$pid
        echo "$pid" > "$MORVELIN_STATE/keeper.pid"
        [ "$attempt" = 1 ] || echo "wine: desktop of $DISPLAY up at attempt $attempt" >&2
        return 0
      fi
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    echo "wine: no working desktop on $DISPLAY at attempt $attempt:" \
         "$(tr -d '\r' < "$err" | grep -m1 winewarm || echo 'no answer')" >&2
    kill "$pid" 2>/dev/null || true
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  done
  return 1
}

# Ends the keeper that wine_desktop_up started; the desktop process and the
# server follow once nothing else of the session runs.
wine_desktop_down() {
  local pid="${WINE_KEEPER_PID:-$(cat "$MORVELIN_STATE/keeper.pid" 2>/dev/null)}"
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -f "$MORVELIN_STATE/keeper.pid" "$MORVELIN_STATE/desktop.ready"
  WINE_KEEPER_PID=""
}
