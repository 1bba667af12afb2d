#!/usr/bin/env bash
# Builds and runs every test twice: the ordinary build, then a build with
# AddressSanitizer and UndefinedBehaviorSanitizer in which any report fails
# the run. Expects what scripts/install-deps.sh installs.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${VQ_JOBS:-2}

run_tests() {
  ctest --test-dir "$1" --output-on-failure -j"$jobs"
}

echo "== Ordinary build and tests"
cmake -S . -B build
cmake --build build -j"$jobs"
run_tests build

echo "== Sanitizer build (ASan, UBSan) and tests"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVQ_SANITIZE=ON
cmake --build build-asan -j"$jobs"
# Every report ends the process with a failure: leaks included, nothing
# recovered from. The sanitizers' options reach the programs the tests start.
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
run_tests build-asan

echo "== Fuzzing smoke run (30 s per target)"
scripts/fuzz.sh 30
