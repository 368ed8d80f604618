#!/usr/bin/env bash
# Shared by scripts/run and scripts/test: installs the Debian packages the
# build needs when they are missing, then configures and builds the tree.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${KT41_BUILD_DIR:-$ROOT/build}"

PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-serialport-dev libgl-dev qt6-translations-l10n
    libmodbus-dev libpugixml-dev libzip-dev
    libgtest-dev libgmock-dev googletest
    python3 python3-openpyxl mbpoll
    fonts-dejavu-core
)

missing_packages() {
    local p
    for p in "${PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            echo "$p"
        fi
    done
}

install_packages() {
    local missing
    missing=$(missing_packages)
    [ -z "$missing" ] && return 0
    local sudo=""
    if [ "$(id -u)" != 0 ]; then
        command -v sudo >/dev/null && sudo="sudo" || {
            echo "Missing packages and no root rights: $missing" >&2
            return 1
        }
    fi
    echo "Installing: $(echo $missing | tr '\n' ' ')"
    export DEBIAN_FRONTEND=noninteractive
    # Another installation in progress holds the package lock: wait for it.
    local apt=(apt-get -o DPkg::Lock::Timeout=600)
    # shellcheck disable=SC2086
    if ! $sudo "${apt[@]}" install -y -qq --no-install-recommends $missing >/dev/null; then
        $sudo "${apt[@]}" update -qq
        # shellcheck disable=SC2086
        $sudo "${apt[@]}" install -y -qq --no-install-recommends $missing >/dev/null
    fi
}

configure_and_build() {
    local generator=()
    if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
        command -v ninja >/dev/null && generator=(-G Ninja)
    fi
    cmake -S "$ROOT" -B "$BUILD_DIR" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$BUILD_DIR" --parallel "$(nproc)" "$@"
}
