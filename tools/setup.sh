#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the programs need, when missing.
set -euo pipefail
pkgs=(build-essential cmake pkg-config
      libsdl2-dev libsdl2-mixer-dev libfreetype-dev libfontconfig-dev libpng-dev
      fonts-ipafont-gothic fonts-ipafont-mincho
      googletest libgtest-dev libbenchmark-dev
      xvfb xauth
      desktop-file-utils appstream lintian)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
