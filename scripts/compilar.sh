#!/usr/bin/env bash
# Configures and builds into the given folder (default build/) with any extra CMake options.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
dir="${1:-$raiz/build}"
shift || true
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S "$raiz" -B "$dir" -G Ninja "$@"
else
  cmake "$dir" "$@" >/dev/null
fi
cmake --build "$dir" --parallel "$(nproc)"
