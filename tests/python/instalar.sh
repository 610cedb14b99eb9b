#!/usr/bin/env bash
# python/instalar.py with each Python given: it installs the module where that Python finds it
# (the user's folder, or --destino), needs nothing beyond the standard library, and leaves the
# source folder as it was.
#
#   instalar.sh KIT TRABAJO PYTHON...
set -euo pipefail
kit="$1"
trabajo="$2"
shift 2
fallos=0
falla() {
  echo "FALLO: $*" >&2
  fallos=$((fallos + 1))
}
for python in "$@"; do
  rm -rf "$trabajo"
  mkdir -p "$trabajo"
  cp -r "$kit" "$trabajo/fuentes"
  antes="$(cd "$trabajo/fuentes" && find . | sort)"
  # The user's folder, as a contestant installs it.
  PYTHONUSERBASE="$trabajo/usuario" "$python" "$trabajo/fuentes/instalar.py" >"$trabajo/salida" 2>&1 ||
    falla "$python: instalar.py falló: $(cat "$trabajo/salida")"
  (cd "$trabajo" && PYTHONUSERBASE="$trabajo/usuario" "$python" -c \
    'import zul, sys; sys.exit(0 if zul.__file__.startswith(sys.argv[1]) else 1)' "$trabajo/usuario") ||
    falla "$python no encuentra el módulo instalado en su carpeta de usuario"
  "$python" "$trabajo/fuentes/instalar.py" --destino "$trabajo/otra" >"$trabajo/salida" 2>&1 ||
    falla "$python: instalar.py --destino falló: $(cat "$trabajo/salida")"
  (cd "$trabajo" && PYTHONPATH="$trabajo/otra" "$python" -c 'from zul import anota, ZULmain') ||
    falla "$python no importa el módulo instalado con --destino"
  grep -q "export PYTHONPATH=$trabajo/otra" "$trabajo/salida" || falla "$python: no dice el PYTHONPATH"
  despues="$(cd "$trabajo/fuentes" && find . | sort)"
  [ "$antes" = "$despues" ] || falla "$python dejó archivos en las fuentes: $(diff <(echo "$antes") <(echo "$despues"))"
done
rm -rf "$trabajo"
[ "$fallos" -eq 0 ] && echo "instalar.py: todo en orden"
