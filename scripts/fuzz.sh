#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in a build directory of their own and runs each for
# the given number of seconds (default 30) on a scratch copy of its seed corpus. Fails on any crash,
# sanitizer report, hang or broken property, and keeps the input that caused it.
#
#   scripts/fuzz.sh [seconds-per-target]
#
# Environment: VQ_FUZZ_BUILD_DIR (default build-fuzz), VQ_FUZZ_JOBS (build jobs, default 1),
# VQ_FUZZ_RUNS (run each target for this many inputs instead of for a time),
# VQ_FUZZ_TARGETS (a blank-separated subset of the targets).
set -euo pipefail

seconds="${1:-30}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "fuzz.sh: the seconds per target must be a positive whole number, not '$seconds'" >&2
  exit 2
fi
runs="${VQ_FUZZ_RUNS:-}"
if [[ -n "$runs" ]] && ! [[ "$runs" =~ ^[1-9][0-9]*$ ]]; then
  echo "fuzz.sh: VQ_FUZZ_RUNS must be a positive whole number, not '$runs'" >&2
  exit 2
fi
for tool in clang clang++ cmake; do
  if ! command -v "$tool" >/dev/null; then
    echo "fuzz.sh: $tool not found; scripts/install-deps.sh installs what the fuzzers need" >&2
    exit 2
  fi
done

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VQ_FUZZ_BUILD_DIR:-$root/build-fuzz}"
targets=(${VQ_FUZZ_TARGETS:-leading_number hex_value formatting conversions intel_hex scpi_line setup_reader})
generator=()
if command -v ninja >/dev/null; then
  generator=(-G Ninja)
fi

log="$(mktemp)"
work="$(mktemp -d)"
trap 'rm -rf "$log" "$work"' EXIT

if ! cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVQ_BUILD_FUZZERS=ON -DVQ_BUILD_TESTS=OFF >"$log" 2>&1; then
  tail -n 30 "$log" >&2
  echo "fuzz.sh: configuring the fuzzers in $build failed" >&2
  exit 1
fi
if ! cmake --build "$build" --target vq_fuzzers -j "${VQ_FUZZ_JOBS:-1}" >"$log" 2>&1; then
  tail -n 40 "$log" >&2
  echo "fuzz.sh: building the fuzzers failed (is libclang-rt-14-dev installed?)" >&2
  exit 1
fi

if [[ -n "$runs" ]]; then
  limit=(-runs="$runs")
  echo "fuzzing each target for $runs inputs"
else
  limit=(-max_total_time="$seconds")
  echo "fuzzing each target for $seconds s"
fi
printf '%-16s %12s %10s %8s %8s  %s\n' target inputs seconds "inputs/s" corpus result
failed=0
for target in "${targets[@]}"; do
  program="$build/bin/fuzz_$target"
  seeds="$root/fuzz/corpus/$target"
  if [[ ! -x "$program" || ! -d "$seeds" ]]; then
    echo "fuzz.sh: no fuzz target '$target' (program $program, seeds $seeds)" >&2
    exit 2
  fi
  corpus="$work/$target"
  artifacts="$build/fuzz-artifacts/$target"
  mkdir -p "$artifacts"
  cp -r "$seeds" "$corpus"
  started=$(date +%s)
  status=0
  "$program" "${limit[@]}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1 || status=$?
  elapsed=$(($(date +%s) - started))
  executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  size=$(find "$corpus" -type f | wc -l)
  if [[ $status -eq 0 ]]; then
    result=passed
  else
    result="FAILED (exit $status)"
    failed=1
  fi
  printf '%-16s %12s %10s %8s %8s  %s\n' "$target" "${executed:-?}" "$elapsed" "${speed:-?}" "$size" "$result"
  if [[ $status -ne 0 ]]; then
    grep -E 'property broken|ERROR: |SUMMARY: |runtime error|Test unit written' "$log" | head -n 20 >&2 || true
    echo "  replay: $program $artifacts/<the file named above>" >&2
  fi
done
exit $failed
