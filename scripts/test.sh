#!/usr/bin/env bash
# Builds Velmora and runs every test; exits non-zero on any failure.
#   scripts/test.sh [ctest arguments]    g++ build in build/, the whole ctest suite
#   scripts/test.sh --sanitize           clang build with AddressSanitizer and
#       UndefinedBehaviorSanitizer in build-sanitize/, the whole ctest suite, then
#       every libFuzzer target for VELMORA_FUZZ_SECONDS (60) seconds each
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

if [ "${1:-}" = "--sanitize" ]; then
    shift
    BUILD_DIR="${VELMORA_SANITIZE_BUILD_DIR:-$ROOT/build-sanitize}"
    ensure_packages "${SANITIZE_PACKAGES[@]}"
    configure_and_build -DCMAKE_CXX_COMPILER=clang++ -DVELMORA_SANITIZE=ON -DVELMORA_FUZZ=ON
    # A leak, an overflow or undefined behaviour ends the program with an error;
    # lsan.supp names the one leak that is not ours.
    export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    export LSAN_OPTIONS="suppressions=$ROOT/scripts/lsan.supp:print_suppressions=0"
    # QtTest's own limit per test function (5 minutes) is too short for the
    # slowest functions when every access is checked.
    export QTEST_FUNCTION_TIMEOUT=1800000
    set +e
    (cd "$BUILD_DIR" && ctest --output-on-failure -j"$(nproc)" "$@")
    tests=$?
    "$ROOT/scripts/fuzz.sh" "$BUILD_DIR" "${VELMORA_FUZZ_SECONDS:-60}"
    fuzz=$?
    set -e
    [ "$tests" -eq 0 ] || echo "sanitized tests: FAILED" >&2
    [ "$fuzz" -eq 0 ] || echo "fuzzing: FAILED" >&2
    [ "$tests" -eq 0 ] && [ "$fuzz" -eq 0 ]
    exit
fi

ensure_packages
configure_and_build
cd "$BUILD_DIR"
ctest --output-on-failure -j"$(nproc)" "$@"
