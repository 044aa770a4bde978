#!/usr/bin/env bash
# Installs what is missing, builds the launcher and its tests, and runs every test.
# With --sanitize, builds and runs them with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-tests"
options=(-DCMAKE_BUILD_TYPE=Debug -DTERVIX_WERROR=ON)
if [ "${1:-}" = "--sanitize" ]; then
  build="$top/build-sanitize"
  options+=(-DTERVIX_SANITIZE=ON)
  export LSAN_OPTIONS="suppressions=$top/tests/lsan.supp"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi
bash "$top/scripts/install-deps.sh"
cmake -S "$top" -B "$build" "${options[@]}"
cmake --build "$build" --parallel "$(nproc)"
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" --timeout 120
