#!/usr/bin/env bash
# The zip of `make dist`: named after the version the exe carries, holding
# exactly the built exe and LIESMICH.txt, the latter in a form Notepad reads
# (UTF-8 with byte-order mark, CR LF) and with the licence in it.
#   dist_zip.sh ZIP VERSION BUILT_EXE
set -euo pipefail
zip="$1" version="$2" built_exe="$3"
license="$(cd "$(dirname "$0")/../../.." && pwd)/LICENSE"
fail() { echo "FAIL: $*" >&2; exit 1; }

[ "$(basename "$zip")" = "Morvelin-$version-win64.zip" ] || fail "zip named $(basename "$zip")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

entries=$(cmake -E tar tf "$zip" | sort | tr '\n' ' ')
[ "$entries" = "LIESMICH.txt Morvelin.exe " ] || fail "zip holds: $entries"
(cd "$work" && cmake -E tar xf "$zip")
cmp -s "$work/Morvelin.exe" "$built_exe" || fail "the exe in the zip is not the one built"

# The file version the exe carries (VS_FIXEDFILEINFO, after its signature
# 0xFEEF04BD) is the one in the name.
offset=$(LC_ALL=C grep -obUaP '\xbd\x04\xef\xfe' "$work/Morvelin.exe" | head -n1 | cut -d: -f1)
[ -n "$offset" ] || fail "no version resource in the exe"
read -r ms_lo ms_hi ls_lo ls_hi < <(od -An -tu2 -j $((offset + 8)) -N8 "$work/Morvelin.exe")
exe_version="$ms_hi.$ms_lo.$ls_hi.$ls_lo"
[ "$exe_version" = "$version" ] || fail "the exe carries file version $exe_version, the name says $version"
echo "ok: Morvelin-$version-win64.zip holds the exe of file version $exe_version"

readme="$work/LIESMICH.txt"
[ "$(head -c3 "$readme" | od -An -tx1 | tr -d ' ')" = "efbbbf" ] || fail "LIESMICH.txt does not start with a UTF-8 byte-order mark"
iconv -f UTF-8 -t UTF-8 "$readme" >/dev/null || fail "LIESMICH.txt is not valid UTF-8"
lf=$(tr -cd '\n' < "$readme" | wc -c)
crlf=$(grep -c $'\r$' "$readme" || true)
cr=$(tr -cd '\r' < "$readme" | wc -c)
[ "$lf" -gt 0 ] && [ "$lf" = "$crlf" ] && [ "$cr" = "$lf" ] \
  || fail "LIESMICH.txt line ends: $lf LF, $crlf CR LF, $cr CR"
tail -c2 "$readme" | od -An -c | grep -q '\\r  *\\n' || fail "LIESMICH.txt's last line has no CR LF"
text=$(tr -d '\r' < "$readme")
for want in "Morvelin $version" 'Morvelin-'"$version"'-win64.msi' '%LOCALAPPDATA%\Programs\Morvelin' \
            '%APPDATA%\Morvelin.ini' 'AUTOSTART=1' 'Deinstallieren' '"Feiertage ..."' 'Bild auf / Bild ab' \
            'MIT-Lizenz'; do
  grep -qF -- "$want" <<<"$text" || fail "LIESMICH.txt does not mention $want"
done
license_text=$(cat "$license")
[[ "$text" == *"$license_text"* ]] || fail "LIESMICH.txt does not hold LICENSE's text word for word"
echo "ok: LIESMICH.txt: UTF-8 with BOM, $lf lines in CR LF, installation, settings, licence"
