#!/usr/bin/env bash
# Installs, with apt-get, whatever the build and the tests need and this machine lacks.
set -euo pipefail
packages=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev googletest
          libbenchmark-dev libssl-dev openssl python3
          # the agent program (Qt 6, its SQL drivers, Qt's own translations, the Korean font) and
          # its tests (a virtual display and its screenshots, the ODBC drivers and a database
          # server)
          qt6-base-dev libqt6sql6-sqlite libqt6sql6-mysql libqt6sql6-odbc qt6-translations-l10n
          fonts-nanum xvfb xauth imagemagick
          unixodbc-dev odbc-mariadb libsqliteodbc mariadb-server)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
