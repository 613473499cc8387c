#!/usr/bin/env bash
# Runs the program under Xvfb with the accessibility stack of a desktop (AT-SPI on a private
# session bus) and lets walk.py find its controls and press Convert.
# Usage: run.sh ZORVANE_EXECUTABLE
set -euo pipefail
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/app" "$work/in" "$work/config"
cp "$exe" "$work/app/zorvane"
for folder in lang data profiles; do
    [ -d "$(dirname "$exe")/$folder" ] && cp -r "$(dirname "$exe")/$folder" "$work/app/"
done
ffmpeg -v error -f lavfi -i testsrc=size=160x120:rate=10:duration=1 -c:v flv "$work/in/clip.flv"
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$work/runtime"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb NO_AT_BRIDGE=0
exec dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    sleep 1
    "$1/app/zorvane" "$1/in/clip.flv" &
    app=$!
    status=0
    /usr/bin/python3 "$2/walk.py" "$1/in/clip.avi" 60 || status=$?
    kill -TERM "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    exit $status
' run "$work" "$here"
