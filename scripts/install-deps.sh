#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build, the game and the tests need.
# Returns at once when everything is present; uses sudo when not root.
# With --fuzz, only what `make fuzz` needs: clang and its libFuzzer runtime.
# With --web, what the web page and its browser test need.
set -euo pipefail

packages=(
  g++ cmake ninja-build make pkg-config
  qt6-base-dev qt6-multimedia-dev libqt6multimedia6
  fonts-ipafont-gothic
  libgtest-dev libgmock-dev libbenchmark-dev
  desktop-file-utils appstream  # validate the desktop entry and metainfo in the tests
  dpkg-dev file lintian  # `make deb` and its test: CPack's dependency list, and the package's check
  xvfb  # the install test ends an X server under the game: a lost display must still save
)
if [ "${1:-}" = "--fuzz" ]; then
  packages=(clang libclang-rt-dev cmake ninja-build make)
fi
# With --web, what `make web` and its browser test add: Debian's emscripten (its
# optimiser needs node-acorn), the face the page ships (cut to WOFF2 by fonttools and
# brotli) and Chromium for the test.
if [ "${1:-}" = "--web" ]; then
  packages=(emscripten node-acorn nodejs fonts-ipafont-gothic chromium python3-fonttools python3-brotli)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
