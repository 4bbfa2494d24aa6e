#!/usr/bin/env bash
# Installs the Debian packages Quellix needs to build, test and run.
# Only packages that are missing are installed, so repeated runs are quick.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  qt6-serialport-dev qt6-connectivity-dev
  libqt6sql6-sqlite
  libudev-dev libbluetooth-dev libfreexl-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev qt6-svg-dev
  fonts-liberation2 fonts-wqy-microhei qt6-translations-l10n poppler-utils
  clang-format-14 clang-tidy-14 clang libclang-rt-dev
  python3-mne
  desktop-file-utils appstream dpkg-dev groff-base man-db bash-completion
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "Missing packages (${missing[*]}) and no root rights or sudo to install them." >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
