#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) and
# runs each for a bounded time (as many at once as JOBS, default 2), starting from its seeds in
# fuzz/corpus/TARGET.
#   fuzz/run.sh [SECONDS_PER_TARGET] [TARGET...]     (default 30 s, every target)
# An input that crashes a target is kept in fuzz/regressions/TARGET/, which the normal tests run
# through the same reader; the script then fails. Inputs the fuzzer found interesting stay in
# build-fuzz/corpus/ for the next run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
    -DZORVANE_LOGIC_ONLY=ON -DZORVANE_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    mapfile -t targets < <(ls fuzz/corpus)
fi
cmake --build "$build" -j "${JOBS:-2}" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:symbolize=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Runs one target; its report is printed when it ends, and a crash is kept.
fuzz_one() {
    local target=$1
    local corpus=$build/corpus/$target
    local crashes=$build/crashes/$target
    mkdir -p "$corpus" "$crashes"
    local log=$build/fuzz_$target.log
    local status=0
    if ! "$build/bin/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=65536 -print_final_stats=1 -artifact_prefix="$crashes/" \
        "$corpus" "fuzz/corpus/$target" >"$log" 2>&1; then
        status=1
        mkdir -p "fuzz/regressions/$target"
        for artifact in "$crashes"/*; do
            [ -f "$artifact" ] && cp "$artifact" "fuzz/regressions/$target/"
        done
    fi
    # One block per target, printed when it ends.
    {
        echo "fuzz: $target ran $seconds s"
        [ $status -eq 0 ] || grep -E "ERROR|SUMMARY|broken property" "$log" | head -5 || true
        grep -E "stat::number_of_executed_runs|cov:" "$log" | tail -2 || true
    }
    return $status
}

# As many targets at once as there are build jobs, each with its full time.
failed=()
declare -A running=()
wait_one() {
    local pid status=0
    wait -n -p pid || status=$?
    [ $status -eq 0 ] || failed+=("${running[$pid]}")
    unset "running[$pid]"
}
for target in "${targets[@]}"; do
    while [ ${#running[@]} -ge "${JOBS:-2}" ]; do
        wait_one
    done
    fuzz_one "$target" &
    running[$!]=$target
done
while [ ${#running[@]} -gt 0 ]; do
    wait_one
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz: crashes in ${failed[*]}; inputs kept in fuzz/regressions/" >&2
    exit 1
fi
echo "fuzz: ${#targets[@]} targets ran $seconds s each without a crash"
