#!/usr/bin/env bash
# Builds Morvelin's MSI with wixl:
#   make-msi.sh OUT.msi VERSION EXE README ICON WXS
# wixl 0.101 finds source files only by relative path, so they are staged
# under fixed names next to the output first.
set -euo pipefail
out="$1" version="$2" exe="$3" readme="$4" icon="$5" wxs="$(realpath "$6")"

stage="$out.stage"
rm -rf "$stage" "$out"
mkdir -p "$stage"
cp "$exe" "$stage/Morvelin.exe"
cp "$readme" "$stage/LIESMICH.txt"
cp "$icon" "$stage/Morvelin.ico"

# wixl reports every non-advertised shortcut as "unimplemented", although
# it writes them as asked; everything else it says is shown.
(cd "$stage" && wixl -a x64 -D "Version=$version" -D Exe=Morvelin.exe \
   -D Readme=LIESMICH.txt -D Icon=Morvelin.ico -o package.msi "$wxs") 2>&1 \
  | { grep -v 'builder.vala:[0-9]*: unimplemented' >&2 || true; }
msi="$stage/package.msi"
[ -s "$msi" ] || { echo "make-msi: wixl wrote no package" >&2; exit 1; }

# The upgrade row for older and same-version builds: wixl leaves out
# "maximum inclusive" (512) and "migrate features" (1). Its key includes the
# attributes, so it is replaced rather than updated.
upgrade_code=$(msiinfo export "$msi" Property | tr -d '\r' | awk -F'\t' '$1 == "UpgradeCode" { print $2 }')
[ -n "$upgrade_code" ] || { echo "make-msi: no UpgradeCode" >&2; exit 1; }
msibuild "$msi" -q "DELETE FROM \`Upgrade\` WHERE \`ActionProperty\` = 'OLDERFOUND'"
msibuild "$msi" -q "INSERT INTO \`Upgrade\` (\`UpgradeCode\`, \`VersionMin\`, \`VersionMax\`, \`Attributes\`, \`ActionProperty\`) VALUES ('$upgrade_code', '0.0.0', '$version', 769, 'OLDERFOUND')"
# (msiinfo writes IDT files: tab-separated, CR LF line ends.)
msiinfo export "$msi" Upgrade | tr -d '\r' | grep -qxF "$upgrade_code	0.0.0	$version		769		OLDERFOUND" \
  || { echo "make-msi: upgrade row not as intended" >&2; msiinfo export "$msi" Upgrade >&2; exit 1; }

mv "$msi" "$out"
rm -rf "$stage"
