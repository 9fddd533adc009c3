#!/usr/bin/env bash
# Installs what building, running and testing OSK need on a Debian machine. Idempotent; quiet when all is there.
set -euo pipefail

packages=(
  cmake ninja-build make g++ clang libclang-rt-14-dev googletest
  g++-mingw-w64-x86-64-posix wine64 xvfb x11-utils xauth xdotool imagemagick
  vim ccache
  ghostscript enscript
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
