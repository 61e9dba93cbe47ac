#!/usr/bin/env bash
# Installs the Debian packages that building, testing and the demo need.
# Safe to run again: only what is missing is installed.
#   scripts/install-deps.sh           what every build and test needs
#   scripts/install-deps.sh --office  also LibreOffice Calc without its user
#                                     interface (about 270 MB), which opens the
#                                     workbooks a sync saves; CI installs it,
#                                     the check that needs it skips without it
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format
  clang libclang-rt-14-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev fonts-dejavu-core xdg-utils
  unixodbc-dev odbc-postgresql postgresql-15
  libzip-dev libpugixml-dev libicu-dev
  libpalm-perl python3-openpyxl xlsx2csv
  poppler-utils
  xvfb x11-utils x11-apps netpbm
)
case "${1:-}" in
  --office) packages+=(libreoffice-calc-nogui) ;;
  "") ;;
  *)
    echo "usage: $0 [--office]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
