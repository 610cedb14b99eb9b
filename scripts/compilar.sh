#!/usr/bin/env bash
# Configures with a preset of CMakePresets.json (dev, asan, fuzz or bench) and
# builds everything, into the preset's own folder or the one given, with any
# extra CMake options:
#
#   scripts/compilar.sh PRESET [CARPETA] [-DOPCION=VALOR...]
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
preset="${1:-dev}"
shift || true
case "$preset" in
  dev) dir="$raiz/build" ;;
  asan) dir="$raiz/build-asan" ;;
  fuzz) dir="$raiz/build-fuzz" ;;
  bench) dir="$raiz/build-rendimiento" ;;
  *) echo "compilar.sh: preset desconocido: $preset (dev, asan, fuzz o bench)" >&2; exit 2 ;;
esac
if [ $# -gt 0 ] && [ "${1#-}" = "$1" ]; then
  dir="$1"
  shift
fi
(cd "$raiz" && cmake --preset "$preset" -B "$dir" "$@" >/dev/null)
cmake --build "$dir" --parallel "$(nproc)"
