#!/usr/bin/env bash
# The speed and memory budget on this machine: builds the benchmarks in BUILD_DIR (default
# build), runs them and prints one table of every figure against its target. Fails when a median
# misses its target by more than half again (more than 1.5 times the target).
#   scripts/bench.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/${1:-build}"
benches=(placement_reader_bench facelist_bench main_window_bench board_view_bench
         workflow_bench picklist_bench face_switch_bench)

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVELTO_BENCHMARKS=ON >/dev/null
cmake --build "$build" --target "${benches[@]}" -j "$(nproc)" >/dev/null

results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_STATE_HOME="$results" XDG_CONFIG_HOME="$results"

# Each benchmark's figures as lines "name field value"; timings repeated five times give their
# median, the others take the medians they report themselves.
for bench in "${benches[@]}"; do
    repeat=(--benchmark_repetitions=5 --benchmark_report_aggregates_only=true)
    case $bench in board_view_bench | workflow_bench | face_switch_bench) repeat=() ;; esac
    "$build/bench/$bench" --benchmark_format=json "${repeat[@]}" 2>/dev/null |
        awk '/"name":/ { gsub(/[",]/, "", $2); name = $2 }
             /^ *"[^"]+": -?[0-9][-0-9.e+]*,?$/ {
                 key = $1; gsub(/[":]/, "", key); value = $2; gsub(/,/, "", value)
                 print name, key, value }' >>"$results/figures"
done

figure() { awk -v n="$1" -v k="$2" '$1 == n && $2 == k { print $3 }' "$results/figures"; }
median() { figure "$1_median" real_time; }

failed=0
printf '%-54s %12s %12s  %s\n' "figure" "measured" "target" ""
row() { # label, measured, target (empty for a reference figure), unit
    local verdict=""
    if [ -z "$2" ]; then
        verdict="MISSING"
        failed=1
    elif [ -n "$3" ]; then
        verdict=$(awk -v m="$2" -v t="$3" 'BEGIN { print m <= t ? "ok" : m <= 1.5 * t ? "over" : "FAIL" }')
        [ "$verdict" = FAIL ] && failed=1
    fi
    printf '%-54s %9.3f %-2s %9s %-2s %s\n' "$1" "${2:-0}" "$4" "${3:--}" "$4" "$verdict"
}

classic=$(median ReadFullPlacementFile/classic)
row "read 5000 parts, classic columns" "$classic" 5 ms
row "read 5000 parts, columns by name (1.5 x classic)" "$(median ReadFullPlacementFile/byName)" \
    "$(awk -v c="${classic:-0}" 'BEGIN { printf "%.3f", 1.5 * c }')" ms
for mode in 0 1 2; do
    rebuild=$(median "BM_FilterSortAndNumber/mode:$mode")
    row "rebuild 5000 parts, order $mode" \
        "$(awk -v us="${rebuild:-}" 'BEGIN { if (us != "") print us / 1000 }')" 15 ms
done
row "load and rebuild 5000 parts in the window" \
    "$(figure BM_LoadThenSortEachWay_median load_rebuild_ms)" 15 ms
paint() { figure "PaintsAfterLoadBitmap/kind:$1/another_file:1/iterations:9/manual_time" "$2"; }
floor() { figure "DecoderFloor/kind:$1/iterations:9/manual_time" floor_ms; }
ratio() { awk -v a="${1:-}" -v b="${2:-}" 'BEGIN { if (a != "" && b > 0) printf "%.3f", a / b }'; }
# The first paint of each picture against the least its decoder does for it: the same JPEG
# decoded at 1/8 of its size.
first_paint() { # kind, label, target of the ratio (empty for a reference figure)
    row "first paint, Load Bitmap of $2" "$(paint "$1" first_paint_ms)" "" ms
    row "  1/8 decode of the same JPEG, the decoder's floor" "$(floor "$1")" "" ms
    row "  first paint / the decoder's floor" \
        "$(ratio "$(paint "$1" first_paint_ms)" "$(floor "$1")")" "$3" x
}
first_paint 0 "6000 x 4000 (24 MP) JPEG" 1.25
row "full-resolution paint, 6000 x 4000 JPEG" "$(paint 0 whole_paint_ms)" "" ms
first_paint 1 "7360 x 4912 (36 MP) JPEG" 1.25
row "full-resolution paint, 7360 x 4912 JPEG" "$(paint 1 whole_paint_ms)" "" ms
first_paint 2 "24 MP desktop JPEG" ""
row "full-resolution paint, the same JPEG" "$(paint 2 whole_paint_ms)" "" ms
step=$(figure PartStepMovesTheBox/fitted:0 median_ms)
row "part step, 24 MP picture" "$step" 4 ms
row "part step, map fitted through four points (1.1 x)" \
    "$(figure PartStepMovesTheBox/fitted:1 median_ms)" \
    "$(awk -v s="${step:-0}" 'BEGIN { printf "%.3f", 1.1 * s }')" ms
row "Enter step, the session kept on disk" "$(figure BM_EnterStep/manual_time median_ms)" 6 ms
row "Enter step, all spots of the kind shown" \
    "$(figure BM_EnterStepShowingKindSpots/manual_time median_ms)" 6 ms
face_switch() { figure "FaceSwitchThroughTheWindow/camera:$1/iterations:20/manual_time" "$2"; }
row "face switch, both calibrated, application layer" \
    "$(figure FaceSwitchApplicationLayer/iterations:40/manual_time median_ms)" 1 ms
row "face switch, demo pictures, first paint" "$(face_switch 0 first_paint_ms)" 100 ms
row "face switch, demo pictures, whole picture painted" "$(face_switch 0 whole_paint_ms)" 100 ms
row "face switch, 21 MP camera pictures, first paint" "$(face_switch 1 first_paint_ms)" 100 ms
row "face switch, 21 MP camera pictures, whole picture" "$(face_switch 1 whole_paint_ms)" "" ms
row "pick list of 5000 parts: text, page, written" "$(median BM_WholePickListExport/repeats:10)" 10 ms
row "peak memory, 24 MP picture loaded" \
    "$(figure PeakMemoryWithLargePicture/iterations:1 VmHWM_loaded_MB)" 160 MB
row "peak memory, 24 MP picture through every turn" \
    "$(figure PeakMemoryWithLargePicture/iterations:1 VmHWM_turned_MB)" 160 MB
exit $failed
