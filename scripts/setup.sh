#!/usr/bin/env bash
# Installs what the build, the tests, the example and the benchmark need from
# Debian's archive. Idempotent: the package lists are updated once, and only
# when a package is missing.
#   setup.sh            the build and the example
#   setup.sh --readers  also the readers the tests check the documents with
#                       (ParaView, QGIS, meshio) and what their scripts use
set -euo pipefail

packages=(
  cmake g++ make
  libhdf5-dev hdf5-tools
  nlohmann-json3-dev libtclap-dev libabsl-dev
  libgdal-dev libgeos-dev
  libgtest-dev
  time
)
if [ "${1:-}" = "--readers" ]; then
  packages+=(
    paraview python3-paraview xvfb
    python3-qgis qgis-providers
    python3-meshio python3-h5py python3-numpy python3-gdal python3-matplotlib gdal-bin
    man-db
  )
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
