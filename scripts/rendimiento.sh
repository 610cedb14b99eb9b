#!/usr/bin/env bash
# Reproduces the performance figures: builds in Release mode into
# build-rendimiento/ (or $ZUL_DIR_RENDIMIENTO), runs zul_bench with three
# repetitions of every benchmark (its closing table gives the medians and the
# ratios), times `visor --png` on the benchmarks' 44 MB race log and on the
# sample race, measures the replay page of visor --html in Chromium
# (bench/web/pagina.py), then the CPU share of a paused viewer under Xvfb.
# Extra arguments go to zul_bench (for example --benchmark_filter=Carga).
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
dir="${ZUL_DIR_RENDIMIENTO:-$raiz/build-rendimiento}"

"$raiz/scripts/dependencias.sh"
"$raiz/scripts/compilar.sh" bench "$dir"

echo "== $(nproc) núcleos; carga: $(cut -d' ' -f1-3 /proc/loadavg)"
"$dir/bench/zul_bench" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true "$@"
echo
echo "== Arranque de visor --png (tres veces cada uno)"
entradas="$(mktemp -d)"
trap 'rm -rf "$entradas"' EXIT
"$dir/bench/zul_bench" --escribe-entradas="$entradas" >/dev/null
for _ in 1 2 3; do
  /usr/bin/time -f "registro de $(du -m "$entradas/carrera.txt" | cut -f1) MB: %e s (CPU %U s + %S s, %M KB)" \
    "$dir/visor/visor" --png "$entradas/salida.png" "$entradas/carrera.txt" "$entradas/mapa.txt"
done
for _ in 1 2 3; do
  (cd "$raiz/ejemplos" && /usr/bin/time -f "carrera de ejemplo: %e s (CPU %U s + %S s, %M KB)" \
    "$dir/visor/visor" --png "$entradas/ejemplo.png" carrera.txt mapa.txt)
done
echo
echo "== La página de visor --html en Chromium (1280x720, 50 pasos por segundo)"
/usr/bin/python3 "$raiz/bench/web/pagina.py" "$dir/visor/visor" "$dir/bench/zul_bench" 10
echo
echo "== Visor en pausa (carrera de ejemplo, 20 s por zoom)"
"$raiz/bench/reposo.sh" "$dir/visor/visor" "$raiz/ejemplos" 20
echo "== carga al terminar: $(cut -d' ' -f1-3 /proc/loadavg)"
