#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz and runs each for the given number of seconds:
#   scripts/fuzz.sh SECONDS [TARGET...]      (targets: column_map placement_reader text
#                                             pick_list view_geometry board_file bom_reader;
#                                             all by default)
# Each target starts from its seeds in fuzz/corpus/TARGET and from what earlier runs found, kept
# in build-fuzz/corpus/TARGET. A crash, a leak, undefined behaviour, a failed check or a hang
# leaves its input in build-fuzz/findings/ and makes the script fail.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(column_map placement_reader text pick_list view_geometry board_file bom_reader)
fi

build="$root/build-fuzz"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVELTO_FUZZ=ON \
    -DKAVELTO_BENCHMARKS=OFF -DCMAKE_CXX_COMPILER="${FUZZ_CXX:-clang++-14}" >/dev/null
cmake --build "$build" --target kavelto_fuzzers -j "$(nproc)"

failed=0
for target in "${targets[@]}"; do
    mkdir -p "$build/corpus/$target" "$build/findings"
    log="$build/findings/$target.log"
    if "$build/fuzz/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$target-" \
        "$build/corpus/$target" "$root/fuzz/corpus/$target" >"$log" 2>&1; then
        result=ok
    else
        result="FAILED (see $log)"
        failed=1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    printf '%-18s %10s executions in %ss  %s\n' "$target" "${runs:-?}" "$seconds" "$result"
done
exit $failed
