#!/usr/bin/env bash
# Installs the Debian packages Voxtane builds and tests with.
# Idempotent: it does nothing when every package is already present.
set -euo pipefail

packages=(
    build-essential cmake make pkg-config
    libgtest-dev libgmock-dev
    nlohmann-json3-dev libcli11-dev libsqlite3-dev
    librtmidi-dev libasound2-dev libjack-jackd2-dev jackd2 librtaudio-dev libsndfile1-dev
    qt6-base-dev qt6-base-private-dev fonts-dejavu-core
    clang libclang-rt-14-dev libbenchmark-dev
    dpkg-dev file desktop-file-utils appstream man-db
    xvfb
    # The Windows build (make test-windows): MinGW-w64 with POSIX threads, GoogleTest's
    # sources, and Wine to run the result.
    g++-mingw-w64-x86-64-posix googletest wine wine64
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi

echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
