#!/usr/bin/env bash
# Ten 1-second clips converted as one batch, against the bare encoder run ten times by a shell
# loop with the identical arguments (taken from `zorvane-cli command`): `zorvane-cli convert`
# (goal: <= 1.10), and the window converting files already in its list (goal: <= 1.03).
# Prints wall times, best of the rounds, and their ratios.
# Usage: bench/convert_many.sh [bin folder] [rounds] [profile]
#        (defaults: build-test/bin, 3 rounds, the default settings)
set -euo pipefail
cd "$(dirname "$0")/.."
BIN=$(realpath "${1:-build-test/bin}")
ROUNDS=${2:-3}
PROFILE=()
[ -n "${3:-}" ] && PROFILE=(--profile "$(realpath "$3")")
CLI=$BIN/zorvane-cli
WINDOW=$BIN/zorvane_bench_convert
[ -x "$CLI" ] && [ -x "$WINDOW" ] || { echo "build the tests first (./setup.sh test)" >&2; exit 2; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

for i in $(seq 1 10); do
    ffmpeg -v error -f lavfi -i "testsrc=size=640x360:rate=25:duration=1" \
        -f lavfi -i "sine=frequency=$((300 + i * 20)):duration=1" \
        -c:v flv -b:v 800k -c:a libmp3lame -b:a 128k -y "$WORK/clip$i.flv"
done
FILES=("$WORK"/clip*.flv)
FFMPEG=$("$CLI" paths | sed -n 's/^ffmpeg: //p')
# One command line per file, the output path in place of <output_file>.
for f in "${FILES[@]}"; do
    "$CLI" command "${PROFILE[@]}" "$f" | sed "s|<output_file>|\"${f%.flv}.bare.avi\"|" >>"$WORK/commands"
done

now() { date +%s.%N; }
best() { printf '%s\n' "$@" | sort -g | head -n 1; }
bare=() cli=() window=()
for round in $(seq 1 "$ROUNDS"); do
    rm -f "$WORK"/*.avi
    t0=$(now)
    while read -r args; do eval "\"$FFMPEG\" $args" >/dev/null 2>&1 </dev/null; done <"$WORK/commands"
    t1=$(now)
    "$CLI" convert "${PROFILE[@]}" --if-exists overwrite "${FILES[@]}" >/dev/null
    t2=$(now)
    bare+=("$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')")
    cli+=("$(awk -v a="$t1" -v b="$t2" 'BEGIN { print b - a }')")
    rm -f "$WORK"/clip?.avi "$WORK"/clip10.avi
    window+=("$("$WINDOW" "${PROFILE[@]}" "${FILES[@]}" 2>/dev/null | awk '{ print $6 }')")
done
b=$(best "${bare[@]}") c=$(best "${cli[@]}") w=$(best "${window[@]}")
printf 'bare ffmpeg x10:        %.3f s\nzorvane-cli convert:    %.3f s   ratio %.3f\nwindow, files in list:  %.3f s   ratio %.3f\n' \
    "$b" "$c" "$(awk -v x="$c" -v y="$b" 'BEGIN { print x / y }')" \
    "$w" "$(awk -v x="$w" -v y="$b" 'BEGIN { print x / y }')"
