# Sourced: sets up the Wine environment for one state folder.
#   source wine-env.sh STATE_DIR
# STATE_DIR/prefix is the WINEPREFIX; STATE_DIR/display, when present,
# names the private X display (written by fixture.sh).
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

# Creates the prefix once. A lock guards against parallel first runs.
wine_ensure_prefix() {
  [ -f "$WINEPREFIX/.morvelin-ready" ] && return 0
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.morvelin-ready" ]; then
      wineboot -i >/dev/null 2>&1 || true
      # Debian's Wine 8 looks for its own fonts (Tahoma, Marlett for the
      # caption buttons) in a folder that does not exist; the prefix's Fonts
      # folder is always searched.
      if [ -d /usr/share/wine/fonts ]; then
        cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
      fi
      # Without a window manager every closed managed window costs seconds.
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d Y /f >/dev/null 2>&1
      wineserver -w
      touch "$WINEPREFIX/.morvelin-ready"
    fi
  ) 9>"$MORVELIN_STATE/prefix.lock"
}
