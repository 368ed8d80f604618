#!/usr/bin/env bash
# Shared by scripts/run and scripts/test: installs the Debian packages the
# build needs when they are missing, then configures and builds the tree.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${KT41_BUILD_DIR:-$ROOT/build}"
# The sanitizer build of scripts/test, beside the main one.
SANITIZE_BUILD_DIR="$BUILD_DIR-asan"

PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-serialport-dev libgl-dev qt6-translations-l10n
    libmodbus-dev libpugixml-dev libzip-dev
    libgtest-dev libgmock-dev googletest
    python3 python3-openpyxl mbpoll
    fonts-dejavu-core desktop-file-utils
    qt6-charts-dev libqt6opengl6-dev # the charts package misses its OpenGL dependency
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

# configure_in DIR [CMake options]: configures the tree in DIR (Ninja when a new
# folder is made and ninja is there).
configure_in() {
    local dir="$1"
    shift
    local generator=()
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        command -v ninja >/dev/null && generator=(-G Ninja)
    fi
    cmake -S "$ROOT" -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

# Configures and builds the main tree; arguments go to the build.
configure_and_build() {
    configure_in "$BUILD_DIR"
    cmake --build "$BUILD_DIR" --parallel "$(nproc)" "$@"
}

# The same for the sanitizer build: everything but the GUI (no Qt needed),
# with AddressSanitizer (and LeakSanitizer) and UndefinedBehaviorSanitizer.
configure_and_build_sanitized() {
    configure_in "$SANITIZE_BUILD_DIR" -DKT41_BUILD_GUI=OFF -DKT41_SANITIZE=address,undefined
    cmake --build "$SANITIZE_BUILD_DIR" --parallel "$(nproc)" "$@"
}

# How the sanitizers report: every finding (an AddressSanitizer error, a leak,
# undefined behaviour) ends the process with a nonzero status, so that the test
# fails. Nothing is suppressed, since nothing but real findings shows here: the
# noise known from a sanitized GUI (fontconfig's leaks, g++ 12's false vptr
# report on a pointer-to-member call) does not arise without the GUI.
export_sanitizer_options() {
    export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:check_initialization_order=1"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
}
