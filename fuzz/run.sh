#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) and
# runs each for a bounded time, starting from its seeds in fuzz/corpus/TARGET.
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
failed=()
for target in "${targets[@]}"; do
    corpus=$build/corpus/$target
    crashes=$build/crashes/$target
    mkdir -p "$corpus" "$crashes"
    log=$build/fuzz_$target.log
    echo "fuzz: $target for $seconds s"
    if ! "$build/bin/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=65536 -print_final_stats=1 -artifact_prefix="$crashes/" \
        "$corpus" "fuzz/corpus/$target" >"$log" 2>&1; then
        failed+=("$target")
        mkdir -p "fuzz/regressions/$target"
        for artifact in "$crashes"/*; do
            [ -f "$artifact" ] && cp "$artifact" "fuzz/regressions/$target/"
        done
        grep -E "ERROR|SUMMARY|broken property" "$log" | head -5 || true
    fi
    grep -E "stat::number_of_executed_runs|cov:" "$log" | tail -2 || true
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz: crashes in ${failed[*]}; inputs kept in fuzz/regressions/" >&2
    exit 1
fi
echo "fuzz: ${#targets[@]} targets ran $seconds s each without a crash"
