#!/usr/bin/env bash
# fuzz/run.sh SECONDS: builds the fuzz targets (clang, ASan + UBSan, in build-fuzz) and runs every
# target for SECONDS, two at a time. Each target keeps a growing corpus in
# fuzz/findings/<target>/corpus (started from the generated seeds) and writes any crashing,
# leaking or hanging input to fuzz/findings/<target>/ with libFuzzer's crash-/leak-/timeout-
# prefix; its output is in fuzz/findings/<target>/log.txt. Exits non-zero when a target failed.
set -euo pipefail
seconds=${1:?usage: fuzz/run.sh SECONDS}
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=$root/build-fuzz
findings=$here/findings
targets=(reader unpack report core engine)

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DVELKOR_SANITIZE=ON -DVELKOR_BUILD_GUI=OFF \
    -DVELKOR_BUILD_BENCH=OFF -DVELKOR_BUILD_TESTS=OFF -DVELKOR_BUILD_FUZZ=ON >/dev/null
cmake --build "$build" -j 2 --target velkor_fuzz_seeds "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

run_one() {
    local t=$1 dir=$findings/$1
    mkdir -p "$dir/corpus"
    local status=0
    "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$dir/" "$dir/corpus" "$build/fuzz/seeds/$t" \
        >"$dir/log.txt" 2>&1 || status=$?
    local execs
    execs=$(grep -E '^stat::number_of_executed_units' "$dir/log.txt" | awk '{print $2}' || true)
    echo "$t: exit $status, ${execs:-?} executions, $(find "$dir/corpus" -type f | wc -l) corpus inputs," \
        "$(find "$dir" -maxdepth 1 -name 'crash-*' -o -maxdepth 1 -name 'leak-*' -o -maxdepth 1 -name 'timeout-*' -o -maxdepth 1 -name 'oom-*' | wc -l) failing inputs"
    grep -aE '^#[0-9]+[[:space:]]+DONE' "$dir/log.txt" | tail -n 1 || true
    return "$status"
}

failed=0
pids=()
for t in "${targets[@]}"; do
    run_one "$t" &
    pids+=($!)
    if (( ${#pids[@]} == 2 )); then
        wait "${pids[0]}" || failed=1
        pids=("${pids[@]:1}")
    fi
done
for p in "${pids[@]}"; do wait "$p" || failed=1; done
exit "$failed"
