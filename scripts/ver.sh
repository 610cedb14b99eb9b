#!/usr/bin/env bash
# Installs what is missing, builds, and opens the viewer on the bundled sample race.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
"$raiz/scripts/dependencias.sh"
"$raiz/scripts/compilar.sh" dev
cd "$raiz/ejemplos"
exec "$raiz/build/visor/visor" carrera.txt mapa.txt
