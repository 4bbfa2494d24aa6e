#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages of the named sets (default: build), cumulatively:
#   build  building and running Quellix, its manuals and its package
#   test   what the test suite checks with (make test)
#   bench  the benchmark library (make bench)
#   dev    fuzzing, lint and formatting tools and the EDF reader CI checks with
# Only packages that are missing are installed, so repeated runs are quick.
set -euo pipefail

build=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  qt6-serialport-dev qt6-connectivity-dev qt6-svg-dev
  libudev-dev libbluetooth-dev libgl-dev
  # the night archive's driver, loaded at run time; its compressor, and
  # SQLite itself for the online backup (the same library the driver loads)
  libqt6sql6-sqlite libdeflate-dev libsqlite3-dev
  # the clinic server's driver, loaded at run time, and libpq to read a
  # connection string the way the driver's library will
  libqt6sql6-psql libpq-dev
  # The manuals' pictures are drawn with these fonts; translations at run time.
  fonts-liberation2 fonts-wqy-microhei qt6-translations-l10n
  # make package
  dpkg-dev
)
test=(
  libgtest-dev libgmock-dev libfreexl-dev poppler-utils
  desktop-file-utils appstream groff-base man-db bash-completion lintian
  # the server archive's tests start a PostgreSQL server of their own
  postgresql
)
bench=(
  libbenchmark-dev
  # the server archive's benchmark starts a PostgreSQL server, as its tests do
  postgresql
)
dev=(clang-format-14 clang-tidy-14 clang libclang-rt-dev python3-mne)

sets=("$@")
[ ${#sets[@]} -eq 0 ] && sets=(build)
packages=()
for set in "${sets[@]}"; do
  case $set in
    build) packages+=("${build[@]}") ;;
    test) packages+=("${test[@]}") ;;
    bench) packages+=("${bench[@]}") ;;
    dev) packages+=("${dev[@]}") ;;
    *)
      echo "unknown package set: $set (build, test, bench or dev)" >&2
      exit 2
      ;;
  esac
done

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
