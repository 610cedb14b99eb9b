#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Safe to run again: apt is only called when something is missing.
set -euo pipefail

paquetes=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev fonts-dejavu-core
  qt6-charts-dev qt6-svg-dev libqt6opengl6-dev
  libgtest-dev libbenchmark-dev
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
  clang-14 libclang-rt-14-dev libfuzzer-14-dev
  xvfb xdotool openbox x11-utils imagemagick time
  desktop-file-utils
  python3 python3-pip python3-setuptools python3-wheel python3-venv man-db
  nodejs chromium chromium-driver python3-selenium
)

faltan=()
for p in "${paquetes[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    faltan+=("$p")
  fi
done

if [ ${#faltan[@]} -gt 0 ]; then
  echo "Instalando: ${faltan[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${faltan[@]}"
fi
