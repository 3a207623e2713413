#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian/Ubuntu packages the editor needs to build, run and test (the
# last line: building the Debian package and checking what it installs), asking apt
# only for the ones that are missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config python3
  qt6-base-dev libqt6sql6-sqlite qt6-image-formats-plugins libgl-dev libjpeg-dev
  libopencv-ml-dev libopencv-imgproc-dev
  libbenchmark-dev
  xvfb xauth
  dpkg-dev file desktop-file-utils appstream man-db shared-mime-info lintian
)

missing=()
for pkg in "${packages[@]}"; do
  if ! dpkg -s "$pkg" >/dev/null 2>&1; then
    missing+=("$pkg")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
else
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
