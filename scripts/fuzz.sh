#!/usr/bin/env bash
# Fuzz campaigns with libFuzzer: scripts/fuzz.sh [TARGET|all] [SECONDS] [JOBS]
#
# Builds the fuzz preset (clang, every library with coverage hooks, ASan and UBSan), then runs
# each target for SECONDS (default 60) with JOBS parallel processes (default 2), resuming from
# the kept corpus fuzz/corpus/<name>. After the run the new inputs are merged into the kept
# corpus (only those that add coverage; the hand-named regression cases always stay). A finding
# is left in build/fuzz/findings/ and stops the script with status 1; every run appends its
# executions and coverage to build/fuzz/campaigns.log.
#
# TARGET is a target's short name (bmp, ddd, wav, ini, lines, level, script, gui) or "all".
set -euo pipefail

cd "$(dirname "$0")/.."
target=${1:-all}
seconds=${2:-60}
jobs=${3:-2}

bash scripts/install-deps.sh fuzz
all_targets=()
for f in fuzz/fuzz_*.cpp; do
    n=$(basename "$f" .cpp)
    all_targets+=("${n#fuzz_}")
done
if [ "$target" = all ]; then
    targets=("${all_targets[@]}")
else
    [ -f "fuzz/fuzz_$target.cpp" ] || {
        echo "fuzz.sh: no target '$target' (one of: ${all_targets[*]}, all)" >&2
        exit 2
    }
    targets=("$target")
fi
case "$seconds" in '' | *[!0-9]*) echo "fuzz.sh: SECONDS must be a whole number" >&2; exit 2 ;; esac
case "$jobs" in '' | *[!0-9]* | 0) echo "fuzz.sh: JOBS must be 1 or more" >&2; exit 2 ;; esac

cmake --preset fuzz >/dev/null
build_targets=()
for t in "${targets[@]}"; do build_targets+=("fuzz_$t"); done
cmake --build --preset fuzz -j "${JOBS:-2}" --target "${build_targets[@]}"

out=build/fuzz
mkdir -p "$out/work" "$out/findings" "$out/logs"
# No allocation stacks in the campaigns (a third more runs a second); a finding's report with
# them: run the target on the input in build/fuzz/findings/ with ASAN_OPTIONS unset.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=0:malloc_context_size=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for t in "${targets[@]}"; do
    bin=$out/bin/fuzz_$t
    kept=fuzz/corpus/$t
    work=$out/work/$t
    log=$out/logs/$t.log
    mkdir -p "$kept" "$work"
    # A level input plays 600 frames: give it room for big levels.
    extra=()
    [ "$t" = level ] && extra+=(-max_len=65536 -timeout=30)
    echo "== fuzz_$t: $seconds s, $jobs jobs, kept corpus $(ls "$kept" | wc -l) files"
    set +e
    "$bin" -fork="$jobs" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$out/findings/$t-" -print_final_stats=1 "${extra[@]}" \
        "$work" "$kept" >"$log" 2>&1
    rc=$?
    set -e
    # The last status line of the run: "#execs: cov: N ft: N corp: ..." (fork mode).
    last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
    echo "$(date -u +%FT%TZ) fuzz_$t ${seconds}s jobs=$jobs rc=$rc $last" | tee -a "$out/campaigns.log"
    if ls "$out/findings/$t-"* >/dev/null 2>&1; then
        echo "fuzz_$t: findings in $out/findings (log: $log)" >&2
        status=1
    fi
    # Merge: start from the named regression cases, add every input that brings new coverage.
    merged=$(mktemp -d "$out/merge_${t}_XXXXXX")
    find "$kept" -maxdepth 1 -type f ! -regex '.*/[0-9a-f]\{40\}' -exec cp {} "$merged/" \;
    hashed=$(mktemp -d "$out/hashed_${t}_XXXXXX")
    find "$kept" -maxdepth 1 -type f -regex '.*/[0-9a-f]\{40\}' -exec cp {} "$hashed/" \;
    if "$bin" -merge=1 "${extra[@]}" "$merged" "$hashed" "$work" >"$log.merge" 2>&1; then
        find "$kept" -maxdepth 1 -type f -regex '.*/[0-9a-f]\{40\}' -delete
        cp -n "$merged"/* "$kept/" 2>/dev/null || true
        echo "   kept corpus: $(ls "$kept" | wc -l) files"
    else
        echo "fuzz_$t: merge failed (log: $log.merge); kept corpus unchanged" >&2
        status=1
    fi
    rm -rf "$merged" "$hashed"
done
exit $status
