#!/usr/bin/env bash
# Builds Zorvane on Debian 12, installing with apt-get whatever is missing.
#   ./setup.sh run [ARGS]   build and start the program (under Xvfb when there is no display)
#   ./setup.sh test         build and run every check: formatting, tests, sanitizer tests
#                           (address, undefined behaviour, threads), the Debian package and the
#                           installed program, fuzzing
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev zlib1g-dev libgtest-dev libgmock-dev
    ffmpeg libmediainfo0v5 libmediainfo-dev mediainfo
    clang-format-14 xvfb xauth desktop-file-utils
    dpkg-dev file appstream clang-14 libclang-rt-14-dev parallel lintian qt6-translations-l10n
    qt6-wayland weston at-spi2-core python3-pyatspi dbus-daemon dunst
)
JOBS=${JOBS:-2}

install_missing() {
    local missing=()
    for pkg in "${PACKAGES[@]}"; do
        if [ "$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null)" != "install ok installed" ]; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
}

configure_and_build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@"
    cmake --build "$dir" -j "$JOBS"
}

check_format() {
    local files
    mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tests -name '*.cpp' -o -name '*.h')
    [ ${#files[@]} -eq 0 ] && return 0
    clang-format-14 --dry-run --Werror "${files[@]}"
    echo "Formatting: ${#files[@]} files follow .clang-format"
}

# Prints how long each step of the test command took, so that slow steps show.
step() {
    local name=$1
    shift
    local started=$SECONDS
    "$@"
    echo "step '$name': $((SECONDS - started)) s"
}

run_tests() {
    local dir=$1
    shift
    (cd "$dir" && ctest --output-on-failure -j "$JOBS" --timeout 300 "$@")
}

case "${1:-}" in
run)
    shift
    install_missing
    configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        exec xvfb-run -a build/bin/zorvane "$@"
    fi
    exec build/bin/zorvane "$@"
    ;;
test)
    step install install_missing
    step format check_format
    # Warnings are errors here, not in a user's build.
    step "build tests" configure_and_build build-test -DCMAKE_BUILD_TYPE=Debug -DZORVANE_WERROR=ON \
        -DBUILD_TESTING=ON
    step tests run_tests build-test
    # The logic and its tests once more under AddressSanitizer and UndefinedBehaviorSanitizer.
    step "build sanitizer tests" configure_and_build build-asan -DCMAKE_BUILD_TYPE=Debug \
        -DZORVANE_WERROR=ON -DBUILD_TESTING=ON -DZORVANE_LOGIC_ONLY=ON -DZORVANE_SANITIZE=ON
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
        step "sanitizer tests" run_tests build-asan
    # The logic and window tests once more under ThreadSanitizer (clang): the analyses, the MediaInfo
    # helpers and several encoders at once. Qt is not built with the sanitizer, so what Qt's own
    # code does is not judged (the program's is: tests/tsan/QtSync.cpp tells it how Qt's queues
    # order the program's threads); a test crashes a MediaInfo helper on purpose.
    step "build thread sanitizer tests" configure_and_build build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++-14 -DZORVANE_WERROR=ON -DBUILD_TESTING=ON -DZORVANE_TSAN=ON
    TSAN_OPTIONS=halt_on_error=1:handle_segv=0:ignore_noninstrumented_modules=1 \
        step "thread sanitizer tests" run_tests build-tsan -E "german_locale|Accessibility"
    # The Debian package, and the program installed from it and by `cmake --install`.
    step "build package" configure_and_build build-pkg -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
    rm -f build-pkg/zorvane_*.deb
    step package bash -c 'cd build-pkg && cpack -G DEB'
    step "check package" packaging/check-package.sh build-pkg
    # Every reader of outside data under libFuzzer, 30 seconds each.
    step fuzz fuzz/run.sh 30
    echo "All checks passed."
    ;;
*)
    echo "Usage: $0 run [ARGS] | test" >&2
    exit 2
    ;;
esac
