#!/usr/bin/env bash
# Installs the Debian packages the builds, tests and the demo need, if any
# is missing: one apt-get update, then one apt-get install.
#   scripts/deps.sh
set -euo pipefail

packages=(
    cmake make g++ pkg-config
    googletest libgtest-dev
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64 fonts-wine xvfb xauth x11-apps xdotool fonts-wqy-microhei fonts-wqy-zenhei
    python3 imagemagick
    libcurl4-openssl-dev zlib1g-dev
    clang libclang-rt-14-dev
    nsis zip
    openssl osslsigncode libssl-dev
    # Wine's CNG checks signatures through it; only recommended by wine.
    libgnutls30
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
echo "deps: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
