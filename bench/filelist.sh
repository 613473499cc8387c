#!/usr/bin/env bash
# Adding a folder of generated small files to the real window (offscreen, analysis Full) against
# the sequential bare tools (`ffmpeg -i` and `mediainfo` per file) on the same files. Prints both
# times and their ratio (goal: <= 0.1), the longest stall of the window's event loop (goal:
# < 100 ms) and the peak memory (goals: < 100 MiB for 1,000 files, <= 150 MiB for 10,000).
# Beyond 1,000 files the bare tools run on the first 1,000 and their time is scaled to the count.
# Usage: bench/filelist.sh [path/to/zorvane_bench_filelist] [count]
#        (default: build-test/bin/zorvane_bench_filelist, 1000 files)
set -euo pipefail
cd "$(dirname "$0")/.."
BENCH=${1:-build-test/bin/zorvane_bench_filelist}
COUNT=${2:-1000}
[ -x "$BENCH" ] || { echo "no $BENCH: build the tests first (./setup.sh test)" >&2; exit 2; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

echo "Generating $COUNT files..."
# One run cuts a long clip into distinct pieces of 0.4 s (video and audio differ in every piece).
ffmpeg -v error -f lavfi -i "testsrc=size=160x120:rate=10:duration=$((COUNT * 4 / 10 + 1))" \
    -f lavfi -i "sine=frequency=300:beep_factor=3:duration=$((COUNT * 4 / 10 + 1))" \
    -c:v flv -g 4 -c:a libmp3lame -b:a 64k -f segment -segment_time 0.4 -reset_timestamps 1 \
    -segment_list_size 0 -y "$WORK/clip%05d.flv"
ls "$WORK"/clip*.flv | tail -n +$((COUNT + 1)) | xargs -r rm -f
FILES=("$WORK"/clip*.flv)
echo "${#FILES[@]} files"

now() { date +%s.%N; }
SAMPLE=$((${#FILES[@]} < 1000 ? ${#FILES[@]} : 1000))
t0=$(now)
for f in "${FILES[@]:0:$SAMPLE}"; do
    ffmpeg -i "$f" >/dev/null 2>&1 </dev/null || true
    mediainfo "$f" >/dev/null
done
t1=$(now)
ref=$(awk -v a="$t0" -v b="$t1" -v n="${#FILES[@]}" -v s="$SAMPLE" 'BEGIN { print (b - a) * n / s }')
read -r _ rows _ analysed _ seconds _ stall _ peak < <("$BENCH" "$WORK")
printf 'bare ffmpeg -i + mediainfo: %.2f s\nwindow, folder added:       %.2f s (%s rows, %s analysed)\nratio:                      %.3f\nlongest stall:              %s ms\npeak memory:                %.1f MiB\n' \
    "$ref" "$seconds" "$rows" "$analysed" "$(awk -v p="$seconds" -v r="$ref" 'BEGIN { print p / r }')" \
    "$stall" "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')"
