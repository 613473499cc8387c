#!/usr/bin/env bash
# Converting a generated 20-second 640 x 360 clip with `zorvane-cli convert` against running the
# bare `ffmpeg` with the identical arguments (taken from `zorvane-cli command`). Prints wall and
# CPU times (user + system, children included) and their ratios (goal: <= 1.03).
# Usage: bench/convert.sh [path/to/zorvane-cli] [rounds] [profile]
#        (defaults: build/bin/zorvane-cli, 3 rounds, the default settings)
set -euo pipefail
cd "$(dirname "$0")/.."
[ -x /usr/bin/time ] || { echo "needs GNU time: apt-get install time" >&2; exit 2; }
CLI=$(realpath "${1:-build/bin/zorvane-cli}")
ROUNDS=${2:-3}
PROFILE=()
[ -n "${3:-}" ] && PROFILE=(--profile "$(realpath "$3")")
[ -x "$CLI" ] || { echo "no $CLI: build first" >&2; exit 2; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

ffmpeg -v error -f lavfi -i "testsrc=size=640x360:rate=25:duration=20" \
    -f lavfi -i "sine=frequency=440:duration=20" \
    -c:v flv -b:v 800k -c:a libmp3lame -b:a 128k -y "$WORK/clip.flv"

# The preview's arguments, with the output path in place of <output_file>.
ARGS=$("$CLI" command "${PROFILE[@]}" "$WORK/clip.flv" | sed "s|<output_file>|\"$WORK/bare.avi\"|")
FFMPEG=$("$CLI" paths | sed -n 's/^ffmpeg: //p')

# Wall and CPU seconds of a command, children included.
measure() {
    /usr/bin/time -f '%e %U %S' -o "$WORK/time" "$@" >/dev/null 2>&1 </dev/null
    awk 'END { printf "%s %s\n", $1, $2 + $3 }' "$WORK/time"
}

best_wall() { sort -g -k1,1 | head -n 1; }

bare=()
program=()
for round in $(seq 1 "$ROUNDS"); do
    rm -f "$WORK/bare.avi" "$WORK/clip.avi"
    bare+=("$(eval "measure \"$FFMPEG\" $ARGS")")
    program+=("$(measure "$CLI" convert "${PROFILE[@]}" --if-exists overwrite "$WORK/clip.flv")")
done
read -r bare_wall bare_cpu < <(printf '%s\n' "${bare[@]}" | best_wall)
read -r prog_wall prog_cpu < <(printf '%s\n' "${program[@]}" | best_wall)
[ -s "$WORK/clip.avi" ] || { echo "zorvane-cli convert made no output" >&2; exit 1; }
echo "ffmpeg $ARGS" | sed "s|$WORK/||g"
printf 'bare ffmpeg:          wall %6.2f s   cpu %6.2f s\n' "$bare_wall" "$bare_cpu"
printf 'zorvane-cli convert:  wall %6.2f s   cpu %6.2f s\n' "$prog_wall" "$prog_cpu"
awk -v pw="$prog_wall" -v bw="$bare_wall" -v pc="$prog_cpu" -v bc="$bare_cpu" \
    'BEGIN { printf "ratio:                wall %6.3f     cpu %6.3f\n", pw / bw, pc / bc }'
