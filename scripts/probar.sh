#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite twice: as
# built normally (build/) and with AddressSanitizer and UndefinedBehaviorSanitizer
# (build-asan/). Either failing fails the script.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
"$raiz/scripts/dependencias.sh"

echo "== Pruebas"
"$raiz/scripts/compilar.sh" dev
(cd "$raiz/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)")

echo "== Pruebas con AddressSanitizer y UndefinedBehaviorSanitizer"
"$raiz/scripts/compilar.sh" asan
(
  cd "$raiz/build-asan"
  export QT_QPA_PLATFORM=offscreen
  export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1"
  export LSAN_OPTIONS="suppressions=$raiz/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
  ctest --output-on-failure --parallel "$(nproc)"
)
