#!/usr/bin/env bash
# Time of `zorvane-cli info` over 50 generated files against the bare `ffmpeg -i` plus
# `mediainfo` commands on the same files. Prints both times and their ratio (goal: <= 1.2).
# Usage: bench/analysis.sh [path/to/zorvane-cli]   (default: build/bin/zorvane-cli)
set -euo pipefail
cd "$(dirname "$0")/.."
CLI=${1:-build/bin/zorvane-cli}
[ -x "$CLI" ] || { echo "no $CLI: build first (./setup.sh run or cmake)" >&2; exit 2; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

echo "Generating 50 files..."
for i in $(seq 1 50); do
    case $((i % 3)) in
    0) ffmpeg -v error -f lavfi -i "testsrc=size=320x240:rate=25:duration=2" \
           -f lavfi -i "sine=frequency=$((200 + i)):duration=2" \
           -c:v flv -c:a libmp3lame -b:a 128k -y "$WORK/clip$i.flv" ;;
    1) ffmpeg -v error -f lavfi -i "testsrc=size=640x360:rate=25:duration=2" \
           -f lavfi -i "sine=frequency=$((200 + i)):duration=2" \
           -c:v libx264 -preset ultrafast -c:a aac -y "$WORK/clip$i.mp4" ;;
    2) ffmpeg -v error -f lavfi -i "testsrc=size=320x240:rate=25:duration=2" \
           -f lavfi -i "sine=duration=2" -f lavfi -i "sine=duration=2:sample_rate=48000" \
           -map 0 -map 1 -map 2 -c:v mpeg4 -c:a aac -y "$WORK/clip$i.mkv" ;;
    esac
done
FILES=("$WORK"/clip*)

now() { date +%s.%N; }
best() { printf '%s\n' "$@" | sort -g | head -n 1; }

reference_runs=()
program_runs=()
for round in 1 2 3; do
    t0=$(now)
    for f in "${FILES[@]}"; do
        ffmpeg -i "$f" >/dev/null 2>&1 </dev/null || true
        mediainfo "$f" >/dev/null
    done
    t1=$(now)
    "$CLI" info "${FILES[@]}" >/dev/null
    t2=$(now)
    reference_runs+=("$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')")
    program_runs+=("$(awk -v a="$t1" -v b="$t2" 'BEGIN { print b - a }')")
done
ref=$(best "${reference_runs[@]}")
prog=$(best "${program_runs[@]}")
printf 'ffmpeg -i + mediainfo: %.3f s\nzorvane-cli info:      %.3f s\nratio:                 %.3f\n' \
    "$ref" "$prog" "$(awk -v p="$prog" -v r="$ref" 'BEGIN { print p / r }')"
