#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each one from its seed corpus.
#
#   scripts/fuzz.sh [SEGUNDOS [OBJETIVO...]]
#
# SEGUNDOS is the time each target runs (60 by default); the targets are
# fuzz_carrera, fuzz_mapa, fuzz_protocolo, fuzz_carrera_referencia and
# fuzz_carrera_incremental (all by default). Up to as many targets as there are cores run at once. The build goes
# into build-fuzz/ (or $ZUL_DIR_FUZZ); new inputs that the fuzzer keeps go to
# build-fuzz/corpus/, and an input that breaks a check is saved under
# build-fuzz/hallazgos/ and makes the script fail. Each run appends its counts to
# build-fuzz/ejecuciones.tsv.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
segundos="${1:-60}"
shift || true
objetivos=("$@")
if [ ${#objetivos[@]} -eq 0 ]; then
  objetivos=(fuzz_carrera fuzz_mapa fuzz_protocolo fuzz_carrera_referencia fuzz_carrera_incremental)
fi
dir="${ZUL_DIR_FUZZ:-$raiz/build-fuzz}"
paralelo="$(nproc)"

"$raiz/scripts/dependencias.sh"
if [ ! -f "$dir/CMakeCache.txt" ]; then
  # Only the loaders and the contestant library are needed: no tests, and only
  # the fuzz targets are built.
  cmake -S "$raiz" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
    -DZUL_FUZZ=ON -DZUL_PRUEBAS=OFF -DZUL_SANITIZERS=OFF
fi
cmake --build "$dir" --parallel "$paralelo" --target "${objetivos[@]}"

semillas_de() {
  case "$1" in
    fuzz_carrera | fuzz_carrera_referencia | fuzz_carrera_incremental) echo carrera ;;
    fuzz_mapa) echo mapa ;;
    fuzz_protocolo) echo protocolo ;;
    *) echo "objetivo desconocido: $1" >&2; return 1 ;;
  esac
}

export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
mkdir -p "$dir/registros"

ejecuta() {
  local objetivo="$1" tipo
  tipo="$(semillas_de "$objetivo")"
  local trabajo="$dir/corpus/$objetivo" hallazgos="$dir/hallazgos/$objetivo"
  local registro="$dir/registros/$objetivo.log"
  mkdir -p "$trabajo" "$hallazgos"
  local opciones=(-max_total_time="$segundos" -timeout=10 -rss_limit_mb=2048
                  -print_final_stats=1 -artifact_prefix="$hallazgos/")
  [ -f "$raiz/fuzz/$tipo.dict" ] && opciones+=(-dict="$raiz/fuzz/$tipo.dict")
  local estado=0
  "$dir/fuzz/$objetivo" "${opciones[@]}" "$trabajo" "$raiz/fuzz/corpus/$tipo" \
    >"$registro" 2>&1 || estado=$?
  echo "$estado" >"$dir/registros/$objetivo.estado"
}

for objetivo in "${objetivos[@]}"; do
  semillas_de "$objetivo" >/dev/null
  while [ "$(jobs -rp | wc -l)" -ge "$paralelo" ]; do
    wait -n || true
  done
  echo "== $objetivo: $segundos s"
  ejecuta "$objetivo" &
done
wait

fallos=0
for objetivo in "${objetivos[@]}"; do
  registro="$dir/registros/$objetivo.log"
  estado="$(cat "$dir/registros/$objetivo.estado")"
  ejecuciones="$(sed -n 's/^stat::number_of_executed_units: *//p' "$registro" | tail -n 1)"
  printf '%s\t%s\t%s\t%s\t%s\n' "$(date -u +%FT%TZ)" "$objetivo" "${ejecuciones:-?}" \
    "$segundos" "$estado" >>"$dir/ejecuciones.tsv"
  if [ "$estado" -eq 0 ]; then
    echo "$objetivo: ${ejecuciones:-?} ejecuciones, ningún fallo"
  else
    fallos=$((fallos + 1))
    echo "$objetivo: FALLO (estado $estado) tras ${ejecuciones:-?} ejecuciones; entrada en $dir/hallazgos/$objetivo/"
    tail -n 60 "$registro"
  fi
done
total=${#objetivos[@]}
echo "fuzz: $((total - fallos)) passed, $fallos failed"
[ "$fallos" -eq 0 ]
