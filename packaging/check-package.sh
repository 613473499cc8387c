#!/usr/bin/env bash
# Checks an installed Zorvane as a user would meet it, twice: installed by `cmake --install` into a
# temporary prefix, and unpacked from the Debian package that CPack made in the same build folder.
#   packaging/check-package.sh BUILD_DIR
# Each copy must start, find its shared files below its prefix, and write settings only in the
# user's folder; the package must name its dependencies and hold the usual files.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "check-package: $*" >&2
    exit 1
}

# A one-second clip with sound, made by the real encoder.
clip=$work/clip.flv
ffmpeg -v error -f lavfi -i testsrc=size=320x240:rate=25:duration=1 \
    -f lavfi -i sine=frequency=440:duration=1 -c:v flv -c:a libmp3lame "$clip"

check_installed() {
    local prefix=$1 label=$2
    local config=$work/config-$label
    local marker=$work/marker-$label
    touch "$marker"
    sleep 1 # file times below have a resolution of a second on some file systems
    export XDG_CONFIG_HOME=$config

    "$prefix/bin/zorvane-cli" version | grep -q '^Zorvane' || fail "$label: version"
    local paths
    paths=$("$prefix/bin/zorvane-cli" paths)
    grep -qx "shared: $prefix/share/zorvane" <<<"$paths" || fail "$label: shared files: $paths"
    grep -qx "settings: $config/zorvane/zorvane.ini" <<<"$paths" || fail "$label: settings: $paths"
    local info
    info=$("$prefix/bin/zorvane-cli" info "$clip") || fail "$label: info failed"
    grep -q 'Flash Video' <<<"$info" || fail "$label: info does not describe the clip"
    grep -q 'Sampling rate' <<<"$info" || fail "$label: info has no MediaInfo report"
    # A shipped profile by its bare name.
    "$prefix/bin/zorvane-cli" command --profile H264_Fast.ini "$clip" | grep -q libx264 ||
        fail "$label: shipped profile not found"

    # The desktop program starts offscreen, and SIGTERM closes it as the close button does.
    QT_QPA_PLATFORM=offscreen "$prefix/bin/zorvane" >"$work/window-$label.log" 2>&1 &
    local pid=$!
    sleep 3
    kill -TERM "$pid"
    local waited=0
    while kill -0 "$pid" 2>/dev/null; do
        [ $waited -lt 200 ] || fail "$label: the window did not close"
        sleep 0.1
        waited=$((waited + 1))
    done
    wait "$pid" || fail "$label: the window ended with status $? ($(cat "$work/window-$label.log"))"
    [ -s "$config/zorvane/zorvane.ini" ] || fail "$label: no settings in the user's folder"
    [ -s "$config/zorvane/profiles/__Last.ini" ] || fail "$label: no last-session profile"
    local written
    written=$(find "$prefix" -newer "$marker" -print)
    [ -z "$written" ] || fail "$label: wrote below its prefix: $written"

    desktop-file-validate "$prefix"/share/applications/*.desktop || fail "$label: desktop entry"
    appstreamcli validate --no-net --pedantic "$prefix"/share/metainfo/*.metainfo.xml >/dev/null ||
        fail "$label: AppStream metadata"
    for icon in scalable/apps/net.zorvane.zorvane.svg 48x48/apps/net.zorvane.zorvane.png \
        128x128/apps/net.zorvane.zorvane.png 256x256/apps/net.zorvane.zorvane.png; do
        [ -s "$prefix/share/icons/hicolor/$icon" ] || fail "$label: icon $icon missing"
    done
    for page in zorvane-cli.1.gz zorvane.1.gz; do
        gzip -t "$prefix/share/man/man1/$page" || fail "$label: manual page $page"
    done
    unset XDG_CONFIG_HOME
    echo "check-package: $label: starts, finds its files, writes only in the user's folder"
}

# 1. cmake --install into a temporary prefix.
cmake --install "$build" --prefix "$work/prefix" >/dev/null
check_installed "$work/prefix" install

# 2. The Debian package.
debs=("$build"/zorvane_*.deb)
[ -f "${debs[0]}" ] || fail "no package in $build (run cpack -G DEB there)"
deb=${debs[0]}
fields=$(dpkg-deb -f "$deb" Package Depends)
for dependency in ffmpeg libmediainfo0v5 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 \
    libqt6dbus6 qt6-qpa-plugins zlib1g libc6; do
    grep -Eq "(^|[ ,])$dependency([ ,(]|$)" <<<"$fields" || fail "package does not depend on $dependency"
done
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/bin/zorvane ./usr/bin/zorvane-cli ./usr/share/zorvane/lang/English.ini \
    ./usr/share/zorvane/data/resolutions.txt ./usr/share/zorvane/profiles/H264_Fast.ini \
    ./usr/share/applications/net.zorvane.zorvane.desktop \
    ./usr/share/metainfo/net.zorvane.zorvane.metainfo.xml \
    ./usr/share/man/man1/zorvane-cli.1.gz ./usr/share/man/man1/zorvane.1.gz \
    ./usr/share/doc/zorvane/copyright ./usr/share/doc/zorvane/changelog.gz; do
    grep -qx -- "$file" <<<"$contents" || fail "package lacks $file"
done
dpkg-deb -x "$deb" "$work/root"
grep -q '^License: GPL-3+' "$work/root/usr/share/doc/zorvane/copyright" &&
    grep -q '/usr/share/common-licenses/GPL-3' "$work/root/usr/share/doc/zorvane/copyright" ||
    fail "the copyright file does not name the licence"
# Debian's own checks of a package: not one error or warning.
lintian --fail-on error,warning "$deb" || fail "lintian: $(lintian "$deb" | head -n 20)"
check_installed "$work/root/usr" package
echo "check-package: $(basename "$deb") checked"
