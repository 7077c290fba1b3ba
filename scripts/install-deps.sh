#!/usr/bin/env bash
# Installs the Debian packages the build, the demo content, the tests and the package need.
# Does nothing when every package is already present; uses sudo when not root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format
  libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev libturbojpeg0-dev libfontconfig-dev
  fonts-urw-base35 libcairo2-dev libgtest-dev libheif-dev
  xvfb xdotool imagemagick
  dpkg-dev file desktop-file-utils appstream lintian
)
if [ "${1:-}" = "--with-fuzz" ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
