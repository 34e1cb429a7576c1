#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer, and
# runs each for a bounded time from a generated seed corpus plus the saved regression inputs. Any
# crash, leak, timeout, memory blow-up or sanitizer report makes the script fail. Installs nothing:
# scripts/install-deps.sh provides clang-14 and its runtime libraries.
#
# KORDO_FUZZ_SECONDS   time per target (default 60)
# KORDO_FUZZ_BUILD_DIR build folder (default build-fuzz)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${KORDO_FUZZ_SECONDS:-60}"
build="${KORDO_FUZZ_BUILD_DIR:-build-fuzz}"
compiler="${KORDO_FUZZ_CXX:-clang++-14}"

if ! command -v "$compiler" >/dev/null; then
    echo "fuzz: $compiler not found; run scripts/install-deps.sh" >&2
    exit 1
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER="$compiler" \
    -DKORDO_FUZZ=ON -DKORDO_BUILD_TESTS=OFF -DKORDO_WARNINGS_AS_ERRORS=ON
cmake --build "$build" -j "$(nproc)" --target fuzz_database fuzz_readers fuzz_forms make_corpus

work="$build/fuzz-run"
rm -rf "$work"
mkdir -p "$work/seeds/database" "$work/seeds/readers" "$work/seeds/forms" "$work/artifacts"
"$build/bin/make_corpus" "$work/seeds/database" "$work/seeds/readers" "$work/seeds/forms"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"

status=0
for target in database readers forms; do
    corpus="$work/corpus/$target"
    log="$work/$target.log"
    mkdir -p "$corpus"
    seeds=("$work/seeds/$target")
    [ -d "fuzz/regressions/$target" ] && seeds+=("fuzz/regressions/$target")
    result=0
    "$build/bin/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -detect_leaks=1 \
        -print_final_stats=1 -artifact_prefix="$work/artifacts/$target-" "$corpus" "${seeds[@]}" \
        >"$log" 2>&1 || result=$?
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
    coverage="$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 || true)"
    # A sanitizer may report without stopping the run; its report fails the target all the same.
    if [ "$result" -eq 0 ] && grep -qE '^(==[0-9]+==ERROR|SUMMARY: [A-Za-z]+Sanitizer)|runtime error:' "$log"; then
        result=1
    fi
    if [ "$result" -eq 0 ]; then
        echo "fuzz_$target: OK, ${runs:-0} runs in ${seconds} s (${coverage:-cov: ?})"
    else
        echo "fuzz_$target: FAILED (exit $result) after ${runs:-unknown} runs; log $log" >&2
        tail -n 60 "$log" >&2
        ls "$work/artifacts" >&2 || true
        status=1
    fi
done
exit "$status"
