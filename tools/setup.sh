#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing.
# Runs apt-get update at most once, and only when something is missing.
set -euo pipefail

need_pkgs=(
  g++-mingw-w64-x86-64 wine wine64 xvfb xdotool x11-utils imagemagick
  cmake ninja-build googletest g++ clang libclang-rt-14-dev make
  clang-format  # make format
  # Wine draws with these; without them text is unreadable bitmap fallback
  fonts-wine fonts-liberation libxrender1 libxrandr2 libxinerama1
  libxcursor1 libxi6 libxcomposite1 libxfixes3 libxxf86vm1
  # the MSI is built on Linux from WiX source
  wixl msitools
  # end-to-end tests move the clock under the running program
  faketime
)

missing=()
for p in "${need_pkgs[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}" >&2
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
# Another apt run (a second checkout's set-up) may hold the lock: wait for
# it rather than fail.
APT=(apt-get -o DPkg::Lock::Timeout=600)
$SUDO "${APT[@]}" update -qq
$SUDO "${APT[@]}" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
