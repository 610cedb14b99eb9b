# shellcheck shell=bash
# Sourced by the install tests, which run under `set -euo pipefail`.
#
#   instala CMAKE CONSTRUCCION TRABAJO  empties TRABAJO and installs the build CONSTRUCCION into
#                                       TRABAJO/prefijo, which it leaves in $prefijo
#   falla TEXTO                         reports a failed check; the script goes on to the next
#   termina NOMBRE                      ends the script: status 1 if any check failed

instala() {
  rm -rf "$3"
  mkdir -p "$3"
  prefijo="$3/prefijo"
  "$1" --install "$2" --prefix "$prefijo" >"$3/instalacion.log"
}

fallos=0
falla() {
  echo "FALLO: $*" >&2
  fallos=$((fallos + 1))
}

termina() {
  if [ "$fallos" -ne 0 ]; then
    echo "$1: $fallos comprobaciones fallaron" >&2
    exit 1
  fi
  echo "$1: todo en orden"
}
