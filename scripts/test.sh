#!/usr/bin/env bash
# Builds and runs every test: native first (under ASan and UBSan, then the
# fuzzers for a bounded time), then the Windows builds under Wine. Both
# Windows builds are always built; the 32-bit one is checked as files
# everywhere and run where this machine can run 32-bit programs, the 64-bit
# one runs the whole Windows suite where it cannot (or when
# ZEFTA_WINE_ARCH=64 asks for it) and the library tests otherwise.
set -uo pipefail
cd "$(dirname "$0")/.."
# The tests keep their own Wine prefix: the settings and folders they leave
# behind never show up in the program that `make run` starts.
ZEFTA_PREFIX_NAME=test-wineprefix
source scripts/wine-env.sh
zefta_choose_arch || exit 1

if [ "$ZEFTA_ARCH" = 32 ]; then
  plan="Windows tests on the 32-bit build, library tests also on the 64-bit build: $ZEFTA_ARCH_WHY"
else
  plan="Windows tests on the 64-bit build, the 32-bit build checked as files only: $ZEFTA_ARCH_WHY"
fi
echo "== $plan"

totals=()
failed=0
# run_ctest NAME ARGS...: one ctest run; its totals (and the reason of each
# test that skipped itself) are read from its JUnit file for the summary, and
# its exit status says whether it failed.
run_ctest() {
  local name=$1 junit summary line
  shift
  junit=$(mktemp --suffix=.xml)
  ctest "$@" --no-tests=error --output-junit "$junit"
  local status=$?
  if [ -s "$junit" ] && summary=$(python3 scripts/ctest_junit.py summary "$junit"); then
    totals+=("$name: $(head -n 1 <<<"$summary")")
    while IFS= read -r line; do totals+=("$line"); done < <(tail -n +2 <<<"$summary")
  else
    totals+=("$name: no result (status $status)")
  fi
  rm -f "$junit"
  [ "$status" = 0 ] || failed=1
  return 0
}
# build PRESET [TARGET...]: configure and build (everything, or only the
# targets named), a failure counted like a failed test.
build() {
  local preset=$1 targets=()
  shift
  [ $# -gt 0 ] && targets=(--target "$@")
  if ! { cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j"$(nproc)" "${targets[@]}"; }; then
    totals+=("$preset: build FAILED")
    failed=1
    return 1
  fi
}

# The native tests, once, under ASan + UBSan: any report fails the run.
if build host-asan; then
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_ctest "native, ASan+UBSan" --preset host-asan
fi

# The no-data-loss runs in memory reach deep trees only in numbers: 20,000
# of them, optimized.
if build host-release; then
  run_ctest "native no-data-loss runs, optimized" --preset host-release
fi

if bash scripts/fuzz.sh "${ZEFTA_FUZZ_SECONDS:-10}"; then
  totals+=("fuzzing: ${ZEFTA_FUZZ_SECONDS:-10} s per target, no crash")
else
  totals+=("fuzzing: FAILED")
  failed=1
fi

# The build that runs the whole suite is built whole; of the other one, what
# its tests take: the deliverables (and on x64 the library tests).
if [ "$ZEFTA_ARCH" = 32 ]; then
  build win32 && built32=yes || built32=
  build win64 ZEFTA KESTRUM kestrum_tests && built64=yes || built64=
else
  build win32 ZEFTA KESTRUM && built32=yes || built32=
  build win64 && built64=yes || built64=
fi

trap zefta_stop_all EXIT
zefta_start_display own
zefta_prepare_prefix
zefta_start_wineserver
zefta_window_frames wine
if [ "$ZEFTA_ARCH" = 32 ]; then
  [ -n "$built32" ] && run_ctest "32-bit build, whole Windows suite" --preset win32
  [ -n "$built64" ] && run_ctest "64-bit build, library" --preset win64 -L library
else
  [ -n "$built32" ] && run_ctest "32-bit build, as files" --preset win32 -L static
  [ -n "$built64" ] && run_ctest "64-bit build, whole Windows suite" --preset win64
fi

echo
echo "== Totals"
for line in "${totals[@]}"; do echo "   $line"; done
echo "== $plan"
if [ "$failed" != 0 ]; then
  echo "== FAILED"
  exit 1
fi
echo "== all passed"
