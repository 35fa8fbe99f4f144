#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Orbel needs. Idempotent:
# says nothing and touches nothing when everything is there already. Run as root.
set -euo pipefail

packages=(
  # toolchain and build
  g++ cmake ninja-build pkg-config git clang-format
  # tests, benchmarks, fuzzing and sanitizers
  googletest libgtest-dev libgmock-dev libbenchmark-dev clang-14 libclang-rt-14-dev
  # the host's table store: SQLite embedded, PostgreSQL for a store shared by a team (the
  # server also runs the tests' throwaway clusters)
  libsqlite3-dev sqlite3 postgresql libpq-dev
  # the desktop backend and the demo: Qt 6 Widgets, its SVG icons (the icon theme's), a font,
  # TIFF pages, a virtual display and real input events for the demo tests, and the desktop's
  # openers
  qt6-base-dev qt6-image-formats-plugins libqt6svg6 adwaita-icon-theme fonts-dejavu-core
  libtiff-dev
  xvfb xauth xdg-utils xdotool
  # JScript: Duktape's amalgamated source, built into the script component
  duktape-dev
  # the spreadsheet component: workbook sheets (FreeXL, zlib), and Debian's Python with xlwt
  # for the tests' workbooks
  libfreexl-dev zlib1g-dev python3-xlwt
  # the spreadsheet component on the desktop: LibreOffice Calc and its SDK for UNO
  libreoffice-calc libreoffice-dev
  # scanning through SANE (its test scanners in the tests), and printing to PDF checked with
  # poppler's pdfinfo
  libsane-dev sane-utils poppler-utils
  # the web browser component on the desktop: Qt WebEngine and its helper process
  qt6-webengine-dev libqt6webenginecore6-bin
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages: ${missing[*]}; run this script as root" >&2
  exit 1
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
