#!/usr/bin/env bash
# The preview window with a 1280x720 Flash Video: how long a change of the settings takes to show
# its new picture (goal: median <= 300 ms, of which 150 ms is the pause after the last change)
# and a new moment both pictures (goal: <= 500 ms), against the bare encoder writing the same
# frame through the same kind of chain (the reference). Prints the medians and their ratios.
# Usage: bench/preview.sh [path/to/zorvane_bench_preview]
#        (default: build-test/bin/zorvane_bench_preview)
set -euo pipefail
cd "$(dirname "$0")/.."
BENCH=${1:-build-test/bin/zorvane_bench_preview}
[ -x "$BENCH" ] || { echo "no $BENCH: build the tests first (./setup.sh test)" >&2; exit 2; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
ffmpeg -v error -f lavfi -i testsrc=size=1280x720:rate=25:duration=20 -f lavfi -i sine=duration=20 \
    -c:v flv -b:v 3000k -c:a libmp3lame -y "$WORK/hd.flv"

now_ms() { date +%s%3N; }
times=()
for i in $(seq 10); do
    t0=$(now_ms)
    ffmpeg -hide_banner -nostdin -v error -ss "$i" -i "$WORK/hd.flv" -frames:v 1 \
        -vf "crop=1280:704:0:16,showinfo" -f image2pipe -c:v png - >/dev/null 2>&1
    times+=($(($(now_ms) - t0)))
done
ref=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 6p)
read -r _ change _ moment _ renders < <("$BENCH" "$WORK/hd.flv")
printf 'bare encoder, one frame:   %s ms\nsettings change shown:     %s ms (ratio %.2f)\nnew moment shown:          %s ms (ratio %.2f)\nrenders:                   %s\n' \
    "$ref" "$change" "$(awk -v a="$change" -v b="$ref" 'BEGIN { print a / b }')" \
    "$moment" "$(awk -v a="$moment" -v b="$ref" 'BEGIN { print a / b }')" "$renders"
