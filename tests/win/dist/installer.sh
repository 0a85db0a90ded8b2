#!/usr/bin/env bash
# The MSI as a user meets it: installed, started from its shortcut, repaired,
# switched to start at login and back, upgraded from an older build and
# removed, by Wine's msiexec (quiet) in a Wine prefix made fresh for this
# run, on a display of its own. The cases share the prefix (making one takes
# about as long as all of them together); each begins with nothing installed
# and ends by uninstalling and checking that nothing is left but the profile.
#   installer.sh MSI OLDER_MSI REBUILT_MSI BUILT_EXE PROBE STATE
# OLDER_MSI is the same program built as a lower version, REBUILT_MSI a
# second build of MSI's version (so with another product code).
set -euo pipefail
msi="$(realpath "$1")" older_msi="$(realpath "$2")" rebuilt_msi="$(realpath "$3")"
built_exe="$(realpath "$4")" probe="$(realpath "$5")" STATE="$(realpath -m "$6")"
source "$(cd "$(dirname "$0")/../harness" && pwd)/display.sh"

fail() { echo "FAIL: $*" >&2; exit 1; }
version_of() { basename "$1" | sed -n 's/^Morvelin-\([0-9.]*\)-win64\.msi$/\1/p'; }
version=$(version_of "$msi")
older_version=$(version_of "$older_msi")
[ -n "$version" ] && [ -n "$older_version" ] || fail "MSI names without a version: $msi $older_msi"
upgrade_code=$(msiinfo export "$msi" Property | tr -d '\r' | awk -F'\t' '$1 == "UpgradeCode" { print $2 }')
[ "$(msiinfo export "$msi" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductVersion" { print $2 }')" = "$version" ] \
  || fail "the MSI's ProductVersion is not $version"

APP_PID="" STOPPED=""
cleanup() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
  [ -n "$STOPPED" ] || display_stop "$STATE"
}
trap cleanup EXIT
rm -rf "$STATE"
mkdir -p "$STATE/logs"
display_start "$STATE"
export DISPLAY="$(cat "$STATE/display")"
export WINEPREFIX="$STATE/prefix" WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko prompts, and no menu entries on the host for the
# shortcuts the installer makes.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
started=$(date +%s)
wineboot -i >/dev/null 2>&1 || true
# Without a window manager every closed managed window costs seconds.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w
echo "ok: fresh prefix in $(( $(date +%s) - started )) s"

user_dir="$WINEPREFIX/drive_c/users/$(id -un)"
win_user_dir="C:\\users\\$(id -un)"
app_dir="$user_dir/AppData/Local/Programs/Morvelin"
win_app_dir="$win_user_dir\\AppData\\Local\\Programs\\Morvelin"
programs="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
win_programs="$win_user_dir\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"
menu_link="$programs/Morvelin.lnk"
startup_link="$programs/StartUp/Morvelin.lnk"
profile="$user_dir/AppData/Roaming/Morvelin.ini"

# msiexec ARGS...: quiet, with a log of its own in LOG; returns msiexec's
# exit code (as Wine passes it on, modulo 256).
runs=0
msiexec_quiet() {
  runs=$((runs + 1))
  LOG="$STATE/logs/$runs.log"
  wine msiexec "$@" /qn /l*v "$(winepath -w "$LOG" 2>/dev/null)" >/dev/null 2>&1
}
must_msiexec() {
  local rc=0
  msiexec_quiet "$@" || rc=$?
  [ "$rc" -eq 0 ] || fail "msiexec $* ended with $rc (log: $LOG)"
}
lower() { tr '[:upper:]' '[:lower:]'; }
probe() { wine "$probe" "$@" | tr -d '\r'; }
# "Apps" as Windows Installer answers it: one line per installed product of
# our upgrade code (code, name, version, publisher, icon, icon exists).
products() { probe products "$upgrade_code"; }
# And as Wine's own list of installed programs shows it.
listed() { wine uninstaller --list 2>/dev/null | tr -d '\r' | grep -c '|||Morvelin$' || true; }

expect_installed() { # VERSION README: one product of that version, files in place
  local want="$1" readme="$2" lines code name ver publisher icon icon_ok
  lines=$(products)
  [ "$(grep -c . <<<"$lines")" = 1 ] || fail "installed products, expected one of $want: '$lines'"
  IFS=$'\t' read -r code name ver publisher icon icon_ok <<<"$lines"
  [ "$name|$ver|$publisher" = "Morvelin|$want|Morvelin" ] || fail "registered as '$name|$ver|$publisher'"
  [ "$icon_ok" = 1 ] && [[ "$icon" == *.ico ]] || fail "no product icon: '$icon' ($icon_ok)"
  [ "$(listed)" = 1 ] || fail "Wine's list of programs does not show Morvelin once"
  cmp -s "$app_dir/Morvelin.exe" "$built_exe" || fail "installed Morvelin.exe is not the built one"
  cmp -s "$app_dir/LIESMICH.txt" "$readme" || fail "installed LIESMICH.txt is not the one of $want"
  [ -f "$menu_link" ] || fail "no Start menu shortcut"
  local target folder
  IFS=$'\t' read -r target folder _ < <(probe link "$win_programs\\Morvelin.lnk")
  [ "$(lower <<<"$target")" = "$(lower <<<"$win_app_dir\\Morvelin.exe")" ] || fail "Start menu shortcut targets '$target'"
  [ "$(lower <<<"${folder%\\}")" = "$(lower <<<"$win_app_dir")" ] || fail "Start menu shortcut starts in '$folder'"
  LAST_TARGET="$target" LAST_FOLDER="$folder"
}
expect_autostart() { # yes|no
  if [ "$1" = yes ]; then
    [ -f "$startup_link" ] || fail "no shortcut in the Startup folder"
    local target
    IFS=$'\t' read -r target _ < <(probe link "$win_programs\\StartUp\\Morvelin.lnk")
    [ "$(lower <<<"$target")" = "$(lower <<<"$win_app_dir\\Morvelin.exe")" ] || fail "autostart shortcut targets '$target'"
  else
    [ ! -e "$startup_link" ] || fail "a shortcut in the Startup folder that was not asked for"
  fi
}
expect_removed() {
  [ -z "$(products)" ] || fail "still registered after uninstall: $(products)"
  [ "$(listed)" = 0 ] || fail "still in Wine's list of programs after uninstall"
  [ ! -e "$app_dir" ] || fail "left behind: $(find "$app_dir" | tr '\n' ' ')"
  [ ! -e "$menu_link" ] || fail "Start menu shortcut left behind"
  [ ! -e "$startup_link" ] || fail "autostart shortcut left behind"
  ! wine reg query 'HKCU\Software\Morvelin' >/dev/null 2>&1 || fail "HKCU\\Software\\Morvelin left behind"
  cmp -s "$profile" "$STATE/profile.ini" || fail "the profile did not survive as it was"
}

readme="$(dirname "$msi")/LIESMICH.txt"
older_readme="$(dirname "$older_msi")/LIESMICH.txt"
# A profile from an earlier use, which no uninstall may touch: two months
# side by side.
mkdir -p "$(dirname "$profile")"
printf '[Allgemein]\r\nSpalten=2\r\nZeilen=1\r\n' > "$STATE/profile.ini"
cp "$STATE/profile.ini" "$profile"

# 1. Install, start from the shortcut, repair, uninstall.
must_msiexec /i "$(winepath -w "$msi")"
expect_installed "$version" "$readme"
expect_autostart no
installed_version=$(probe version "$win_app_dir\\Morvelin.exe")
[ "$installed_version" = "$version" ] || fail "installed exe has file version '$installed_version', the MSI $version"
echo "ok: installed per user: $version in name, exe and registration; Start menu shortcut; no autostart"

# Started as the shortcut starts it: its target, in its folder.
(cd "$(winepath -u "$LAST_FOLDER")" && exec wine "$LAST_TARGET" >/dev/null 2>&1) &
APP_PID=$!
win=$(window_of "$APP_PID" '^Morvelin')
[ -n "$win" ] || fail "the shortcut's target showed no calendar window"
read -r _ _ w h < <(window_geometry "$win")
[ "$w" -gt "$h" ] || fail "the calendar does not show the profile's two months side by side (${w}x$h)"
xdotool key Escape
for _ in $(seq 1 100); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
kill "$APP_PID" 2>/dev/null && fail "the calendar did not end on Escape"
APP_PID=""
echo "ok: the shortcut's target starts the calendar (${w}x$h, the profile's 2 x 1 months)"

rm "$app_dir/Morvelin.exe" "$menu_link"
printf 'beschädigt' > "$app_dir/LIESMICH.txt"
must_msiexec /i "$(winepath -w "$msi")"
expect_installed "$version" "$readme"
# Wine's msiexec reinstalls on such a run by itself; Windows does so only
# when the package asks for it, as this one does.
grep -qa 'REINSTALL = ALL' "$LOG" || fail "the second run did not ask for a repair (REINSTALL=ALL; log: $LOG)"
echo "ok: installing the same package again repairs a deleted exe and shortcut and a damaged file"

must_msiexec /x "$(winepath -w "$msi")"
expect_removed
echo "ok: uninstall leaves nothing but the profile"

# 2. "Beim Anmelden starten": chosen at installation, switched off and on
#    again later.
must_msiexec /i "$(winepath -w "$msi")" AUTOSTART=1
expect_installed "$version" "$readme"
expect_autostart yes
must_msiexec /i "$(winepath -w "$msi")" AUTOSTART=0
expect_installed "$version" "$readme"
expect_autostart no
must_msiexec /i "$(winepath -w "$msi")" AUTOSTART=1
expect_autostart yes
must_msiexec /x "$(winepath -w "$msi")"
expect_removed
echo "ok: AUTOSTART=1 adds the Startup shortcut, AUTOSTART=0 removes it, uninstall takes it along"

# 3. Upgrade from an older build that had autostart; the newer one replaces
#    it, keeps the choice and refuses to be downgraded.
must_msiexec /i "$(winepath -w "$older_msi")" AUTOSTART=1
expect_installed "$older_version" "$older_readme"
expect_autostart yes
must_msiexec /i "$(winepath -w "$msi")"
expect_installed "$version" "$readme"
expect_autostart yes
echo "ok: $version replaces $older_version: one product left, autostart kept"
rc=0
msiexec_quiet /i "$(winepath -w "$older_msi")" || rc=$?
[ "$rc" -ne 0 ] || fail "the older package installed over the newer one (log: $LOG)"
# Stopped by the check for a newer build, not by something else. (Wine's
# quiet msiexec does not log the launch condition's message.)
grep -qa 'NEWERFOUND = {' "$LOG" || fail "the older package failed without finding the newer one (log: $LOG)"
expect_installed "$version" "$readme"
echo "ok: the older package refuses to replace the newer one"
[ "$(version_of "$rebuilt_msi")" = "$version" ] || fail "the rebuilt package is not of version $version"
must_msiexec /i "$(winepath -w "$rebuilt_msi")"
expect_installed "$version" "$readme"
expect_autostart yes
echo "ok: another build of $version replaces the installed one instead of joining it"
must_msiexec /x "$(winepath -w "$msi")"
expect_removed
echo "ok: after the upgrade, uninstall leaves nothing but the profile"
echo "installer cases took $(( $(date +%s) - started )) s in all"
# A fresh prefix is some 700 MB: kept only when a case failed.
display_stop "$STATE"
STOPPED=1
rm -rf "$STATE/prefix"
