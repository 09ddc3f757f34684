#!/usr/bin/env bash
# Usage: tools/install-packages.sh [test]
# Installs the Debian packages that building (and, with "test", testing) needs, if missing.
source "$(dirname "$0")/script_help.sh"
set -euo pipefail

packages=(cmake ninja-build g++ libsdl2-dev libncurses-dev pkg-config)
if [[ ${1:-} == test ]]; then
    packages+=(libgtest-dev xvfb xdotool x11-apps imagemagick faketime stockfish pgn-extract
               polyglot fairymax hoichess phalanx gnuchess time clang libclang-rt-dev
               libxml2-utils tmux)
fi

missing=()
for pkg in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$pkg")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
