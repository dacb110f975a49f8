#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, skipping whatever is already there.
set -euo pipefail

packages=(cmake g++ make googletest wine wine64 g++-mingw-w64-x86-64-posix mingw-w64-tools xvfb xdotool imagemagick
          clang libclang-rt-14-dev clang-format python3 x11-utils nsis fp-utils)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi
