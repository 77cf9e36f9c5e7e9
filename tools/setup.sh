#!/usr/bin/env bash
# Installs the Debian packages Kinovia needs to build, run and test; only the missing ones.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config git
  clang libclang-rt-14-dev clang-format
  qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins libgl-dev
  libturbojpeg0-dev
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav
  gstreamer1.0-plugins-bad gstreamer1.0-plugins-ugly
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev libavdevice-dev
  libzip-dev libreoffice-calc-nogui
  libgtest-dev libgmock-dev libbenchmark-dev
  ffmpeg xvfb xauth x11-utils xdotool fonts-liberation fonts-dejavu-core
  xdg-utils shared-mime-info desktop-file-utils locales
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# A Spanish locale, whose decimal separator is ",", for the number tests and for Spanish users.
if ! locale -a 2>/dev/null | grep -qi '^es_ES\.utf-\?8$'; then
  "${sudo_cmd[@]}" localedef -i es_ES -f UTF-8 es_ES.UTF-8
fi
