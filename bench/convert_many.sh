#!/usr/bin/env bash
# Ten 10-second 640x360 Flash Video clips converted as one batch, against the bare encoder run ten
# times, one after the other, by a shell loop with the identical arguments (taken from
# `zorvane-cli command`). For the default settings and for the H.264 profile it times:
#   - the bare loop (the reference, 1.00), and two bare encoders at once (xargs -P 2);
#   - `zorvane-cli convert --jobs auto` (goal: <= 0.65 default, <= 0.60 H.264 on two cores) and
#     `--jobs 1` (goal: <= 1.03);
#   - the window converting files already in its list, Auto and one at a time, with the longest
#     time its event loop went unserviced meanwhile (goal: < 50 ms).
# Prints wall times, best of the rounds, and their ratios to the bare loop.
# Usage: bench/convert_many.sh [bin folder] [rounds] [seconds per clip]
#        (defaults: build-test/bin, 2 rounds, 10 s)
set -euo pipefail
cd "$(dirname "$0")/.."
BIN=$(realpath "${1:-build-test/bin}")
ROUNDS=${2:-2}
SECONDS_PER_CLIP=${3:-10}
CLI=$BIN/zorvane-cli
WINDOW=$BIN/zorvane_bench_convert
[ -x "$CLI" ] && [ -x "$WINDOW" ] || { echo "build the tests first (./setup.sh test)" >&2; exit 2; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

for i in $(seq 1 10); do
    ffmpeg -v error -f lavfi -i "testsrc=size=640x360:rate=25:duration=$SECONDS_PER_CLIP" \
        -f lavfi -i "sine=frequency=$((300 + i * 20)):duration=$SECONDS_PER_CLIP" \
        -c:v flv -b:v 800k -c:a libmp3lame -b:a 128k -y "$WORK/clip$i.flv"
done
FILES=("$WORK"/clip*.flv)
FFMPEG=$("$CLI" paths | sed -n 's/^ffmpeg: //p')
echo "cores: $(nproc)   clips: 10 x ${SECONDS_PER_CLIP} s 640x360   rounds: $ROUNDS"

now() { date +%s.%N; }
best() { printf '%s\n' "$@" | sort -g | head -n 1; }
most() { printf '%s\n' "$@" | sort -g | tail -n 1; }
ratio() { awk -v x="$1" -v y="$2" 'BEGIN { printf "%.3f", x / y }'; }
clean() { rm -f "$WORK"/*.avi; }

run_profile() {
    local name=$1
    shift
    local profile=("$@")
    : >"$WORK/commands"
    # One command line per file, the output path in place of <output_file>.
    for f in "${FILES[@]}"; do
        "$CLI" command "${profile[@]}" "$f" | head -n 1 |
            sed "s|<output_file>|\"${f%.flv}.bare.avi\"|" >>"$WORK/commands"
    done
    local bare=() pair=() auto=() one=() wauto=() wone=() stall=()
    for round in $(seq 1 "$ROUNDS"); do
        clean
        local t0 t1
        t0=$(now)
        while read -r args; do eval "\"$FFMPEG\" $args" >/dev/null 2>&1 </dev/null; done <"$WORK/commands"
        t1=$(now)
        bare+=("$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')")
        clean
        t0=$(now)
        # Each line becomes one shell command; two run at once.
        sed "s|^|\"$FFMPEG\" |" "$WORK/commands" | tr '\n' '\0' |
            xargs -0 -P 2 -I{} sh -c '{} >/dev/null 2>&1 </dev/null'
        t1=$(now)
        pair+=("$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')")
        for jobs in auto 1; do
            clean
            t0=$(now)
            "$CLI" convert "${profile[@]}" --jobs "$jobs" "${FILES[@]}" >/dev/null
            t1=$(now)
            if [ "$jobs" = auto ]; then
                auto+=("$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')")
            else
                one+=("$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')")
            fi
        done
        for jobs in 0 1; do
            clean
            local line
            line=$("$WINDOW" "${profile[@]}" --jobs "$jobs" "${FILES[@]}" 2>/dev/null)
            if [ "$jobs" = 0 ]; then
                wauto+=("$(echo "$line" | awk '{ print $6 }')")
                stall+=("$(echo "$line" | awk '{ print $8 }')")
            else
                wone+=("$(echo "$line" | awk '{ print $6 }')")
                stall+=("$(echo "$line" | awk '{ print $8 }')")
            fi
        done
    done
    local b p a o wa wo
    b=$(best "${bare[@]}") p=$(best "${pair[@]}") a=$(best "${auto[@]}") o=$(best "${one[@]}")
    wa=$(best "${wauto[@]}") wo=$(best "${wone[@]}")
    printf '%s\n' "$name"
    printf '  bare ffmpeg, one after the other:  %7.2f s\n' "$b"
    printf '  bare ffmpeg, two at once:          %7.2f s   ratio %s\n' "$p" "$(ratio "$p" "$b")"
    printf '  zorvane-cli convert --jobs auto:   %7.2f s   ratio %s\n' "$a" "$(ratio "$a" "$b")"
    printf '  zorvane-cli convert --jobs 1:      %7.2f s   ratio %s\n' "$o" "$(ratio "$o" "$b")"
    printf '  window, Auto:                      %7.2f s   ratio %s\n' "$wa" "$(ratio "$wa" "$b")"
    printf '  window, one at a time:             %7.2f s   ratio %s\n' "$wo" "$(ratio "$wo" "$b")"
    printf '  window, longest event-loop stall:  %7s ms (worst of all its runs)\n' "$(most "${stall[@]}")"
}

run_profile "default settings (Xvid)"
run_profile "H.264 profile (profiles/H264_Fast.ini)" --profile "$(realpath profiles/H264_Fast.ini)"
