#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need,
# only those that are missing, so a second run does nothing and needs no network.
set -euo pipefail
packages=(g++ cmake make ninja-build qt6-base-dev qt6-serialport-dev libsqlite3-dev
          libbenchmark-dev libgl-dev fonts-dejavu-core culmus
          qt6-translations-l10n locales cups-daemon cups-client libcups2-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# Tests start the program under a Hebrew and an English locale of their own.
for loc in he_IL en_US; do
  locale -a | grep -qx "$loc.utf8" || $sudo localedef -i "$loc" -f UTF-8 "$loc.UTF-8"
done
