#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs each for SECONDS
# (default 600) on a working copy of its seed corpus.
#
#   bash scripts/fuzz.sh [SECONDS]
#
# Settings from the environment:
#   ORVANE_FUZZ_BUILD_DIR  build folder (default: build-fuzz)
#   ORVANE_FUZZ_OUT        working folder (default: fuzz-out): per target
#                          corpus/ (seeds plus what the runs found), crashes/
#                          (crash, leak and timeout inputs, and slow-unit
#                          notes, which do not fail the run) and fuzz.log
#   ORVANE_FUZZ_PARALLEL   targets run at once (default: the number of cores)
#   ORVANE_FUZZ_TARGETS    blank-separated targets to run (default: all)
#   ORVANE_SHARED_DIR      the shared folder beside the clone (default:
#                          ../shared); its ldf-corpus seeds the LDF target
#   ORVANE_JOBS            build jobs (default: the number of cores)
#   ORVANE_WERROR          ON to treat warnings as errors (on by default in CI)
#
# Prints per target its executions, coverage (cov/ft) and corpus size, and
# exits non-zero when any target found a crash, a leak or a timeout.
set -euo pipefail
source "$(dirname "$0")/common.sh"

seconds="${1:-600}"
[[ "$seconds" =~ ^[0-9]+$ ]] || { echo "usage: $0 [SECONDS]" >&2; exit 1; }
build_dir="${ORVANE_FUZZ_BUILD_DIR:-$ORVANE_ROOT/build-fuzz}"
out_dir="${ORVANE_FUZZ_OUT:-$ORVANE_ROOT/fuzz-out}"
parallel="${ORVANE_FUZZ_PARALLEL:-$(nproc)}"
shared_dir="${ORVANE_SHARED_DIR:-$ORVANE_ROOT/../shared}"
targets=(${ORVANE_FUZZ_TARGETS:-LdfParserFuzz PatternFileFuzz LogToPatternFuzz ConfigurationFileFuzz
         SRecordFuzz MonitorBlockFuzz ExtendedFrameFileFuzz MonitorLogFuzz CaptureFileFuzz})

# The dictionary of each target's format, where the format has keywords.
declare -A dictionary=(
  [LdfParserFuzz]=ldf [PatternFileFuzz]=pattern [LogToPatternFuzz]=log [SRecordFuzz]=srecord
  [MonitorLogFuzz]=log
)

orvane_install_packages
werror="${ORVANE_WERROR:-OFF}"
[ "${CI:-}" = "true" ] && werror="${ORVANE_WERROR:-ON}"
CC=clang CXX=clang++ cmake -S "$ORVANE_ROOT" -B "$build_dir" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_FUZZ=ON -DORVANE_GUI=OFF -DBUILD_TESTING=OFF \
  -DORVANE_WERROR="$werror" >/dev/null
cmake --build "$build_dir" -j "${ORVANE_JOBS:-$(nproc)}" --target fuzzers

# Seeds: the committed corpus, plus the shared LDF files when the folder is there.
prepare_corpus() {
  local target="$1" corpus="$out_dir/$1/corpus"
  mkdir -p "$corpus" "$out_dir/$1/crashes"
  cp -n "$ORVANE_ROOT/fuzz/corpus/$target/"* "$corpus/"
  if [ "$target" = LdfParserFuzz ] && [ -d "$shared_dir/ldf-corpus" ]; then
    local file
    while IFS= read -r -d '' file; do
      local name="${file#"$shared_dir/ldf-corpus/"}"
      cp -n "$file" "$corpus/shared-${name//\//-}"
    done < <(find "$shared_dir/ldf-corpus" -name '*.ldf' -print0)
  fi
}

run_target() {
  local target="$1" dir="$out_dir/$1"
  local options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=1024
                 -print_final_stats=1 -artifact_prefix="$dir/crashes/")
  [ -n "${dictionary[$target]:-}" ] &&
    options+=(-dict="$ORVANE_ROOT/fuzz/dict/${dictionary[$target]}.dict")
  local status=0
  "$build_dir/bin/$target" "${options[@]}" "$dir/corpus" >"$dir/fuzz.log" 2>&1 || status=$?
  echo "$status" >"$dir/status"
}

for target in "${targets[@]}"; do
  prepare_corpus "$target"
  rm -f "$out_dir/$target/status"
  while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do wait -n || true; done
  echo "fuzzing $target for ${seconds} s"
  run_target "$target" &
done
wait

failed=0
printf '%-24s %12s %8s %8s %8s %10s  %s\n' target executions cov ft corpus bytes result
for target in "${targets[@]}"; do
  dir="$out_dir/$target"
  log="$dir/fuzz.log"
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  # The last progress line carries the final coverage and features.
  progress=$(grep -E '^#[0-9]+.*cov: [0-9]+ ft: [0-9]+' "$log" | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$progress")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$progress")
  files=$(find "$dir/corpus" -type f | wc -l)
  bytes=$(du -sb "$dir/corpus" | cut -f1)
  # Slow units (libFuzzer's "slow-unit-" notes, e.g. on a loaded machine)
  # are not failures; a unit over -timeout is written as "timeout-" and
  # ends the run with a non-zero status.
  crashes=$(find "$dir/crashes" -type f ! -name 'slow-unit-*' | wc -l)
  slow=$(find "$dir/crashes" -type f -name 'slow-unit-*' | wc -l)
  result=ok
  [ "$slow" -ne 0 ] && result="ok ($slow slow units in $dir/crashes)"
  if [ "$(cat "$dir/status" 2>/dev/null || echo missing)" != 0 ] || [ "$crashes" -ne 0 ]; then
    result="FAILED (exit $(cat "$dir/status" 2>/dev/null || echo none), $crashes inputs in $dir/crashes, see $log)"
    failed=1
  fi
  printf '%-24s %12s %8s %8s %8s %10s  %s\n' "$target" "${executions:-?}" "${cov:-?}" "${ft:-?}" \
    "$files" "$bytes" "$result"
done
exit "$failed"
