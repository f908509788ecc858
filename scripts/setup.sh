#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run its demo.
# Idempotent: prints nothing and touches nothing when everything is already installed.
set -euo pipefail

packages=(
  # build, tests, benchmarks
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  # service exchange: HTTP client, XML reader; OpenSSL only as an independent check in tests
  libcurl4-openssl-dev libpugixml-dev libssl-dev
  # substitute VOD server
  libcpp-httplib-dev
  # windows, embedded browser, media player
  qt6-base-dev qt6-qpa-plugins qt6-webengine-dev
  libvlc-dev vlc-plugin-base vlc-plugin-video-output
  # display for GUI tests and screenshots, Korean fonts, sample media
  xvfb xauth x11-utils imagemagick fonts-nanum ffmpeg
)

missing=()
for p in "${packages[@]}"; do
  if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != "install ok installed" ]; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}" >&2
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
