#!/usr/bin/env bash
# Installs the Debian packages of scripts/debian-packages.txt that are missing,
# then configures build/ with the "default" preset and builds the program
# (extra arguments go to cmake). The tests are configured too, so that
# scripts/test.sh builds only what is left. Running it again installs nothing
# and only rebuilds what changed.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t wanted < <(sed 's/#.*//' scripts/debian-packages.txt | xargs -n1)
missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done

if ((${#missing[@]})); then
  if [ "$(id -u)" -ne 0 ]; then
    echo "These Debian packages are missing: ${missing[*]}" >&2
    echo "Run this script as root, or install them first: apt-get install ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing ${#missing[@]} Debian packages ..."
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake --preset default "$@"
cmake --build build --target vistrel
