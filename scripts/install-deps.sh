#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the packaging need, only when one is
# missing.
set -euo pipefail
packages=(
    cmake ninja-build g++ ccache libgtest-dev libcli11-dev qt6-base-dev libgl-dev
    # Unicode case folding of the search.
    libutf8proc-dev
    # The tests run against a desktop's usual fonts, proportional faces named like fixed ones
    # included, on a virtual display.
    fonts-dejavu-core fonts-urw-base35 xvfb xauth
    # Checks of the desktop entry and the metainfo; dpkg-shlibdeps for `cpack -G DEB`.
    desktop-file-utils appstream dpkg-dev file
    # The completions of trawlit-cli are tried in the shells they are made for.
    zsh fish
    # fiu-run: the search is tried while reads and opens fail at random.
    fiu-utils
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2> /dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" > /dev/null
