#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each one from its seed corpus.
#
#   scripts/fuzz.sh [SEGUNDOS [OBJETIVO...]]
#
# SEGUNDOS is the time each target runs (60 by default); the targets are those
# listed in `semillas` below (all by default). Up to as many targets as there are cores run at once. The build goes
# into build-fuzz/ (or $ZUL_DIR_FUZZ); new inputs that the fuzzer keeps go to
# build-fuzz/corpus/, and an input that breaks a check is saved under
# build-fuzz/hallazgos/ and makes the script fail. Each run appends its counts to
# build-fuzz/ejecuciones.tsv.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
segundos="${1:-60}"
shift || true
objetivos=("$@")

# Each fuzz target (fuzz/CMakeLists.txt) and the seed corpus it starts from,
# fuzz/corpus/<semillas>, with the dictionary fuzz/<semillas>.dict if there is one.
semillas="
fuzz_carrera carrera
fuzz_mapa mapa
fuzz_protocolo protocolo
fuzz_carrera_referencia carrera
fuzz_carrera_incremental carrera
fuzz_depuracion depuracion
"
if [ ${#objetivos[@]} -eq 0 ]; then
  read -r -a objetivos <<<"$(awk 'NF { printf "%s ", $1 }' <<<"$semillas")"
fi
dir="${ZUL_DIR_FUZZ:-$raiz/build-fuzz}"
paralelo="$(nproc)"

"$raiz/scripts/dependencias.sh"
if [ ! -f "$dir/CMakeCache.txt" ]; then
  # Only the loaders and the contestant library are needed: no tests, and only
  # the fuzz targets are built.
  (cd "$raiz" && cmake --preset fuzz -B "$dir")
fi
cmake --build "$dir" --parallel "$paralelo" --target "${objetivos[@]}"

semillas_de() {
  local tipo
  tipo="$(awk -v o="$1" '$1 == o { print $2 }' <<<"$semillas")"
  if [ -z "$tipo" ]; then
    echo "objetivo desconocido: $1" >&2
    return 1
  fi
  echo "$tipo"
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
