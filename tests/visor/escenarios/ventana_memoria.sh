#!/usr/bin/env bash
# The real viewer under Xvfb, started on a race with millions of shots in one
# frame under a ladder of address-space limits (ulimit -v: setrlimit in the
# child). Whatever the limit, the viewer either opens the window or tells in a
# message box that memory ran out and, once the box is closed, exits with
# status 1: never an abort. Some limit of the ladder must fail while the
# window is being built, after the race has loaded.
# Usage: ventana_memoria.sh VISOR EJEMPLOS SALIDA SANITIZERS
set -uo pipefail
visor="$1"
ejemplos="$2"
salida="$3"
# AddressSanitizer reserves terabytes of address space: no limit fits it.
[ "$4" = ON ] && { echo "omitida con sanitizers"; exit 77; }
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || exit 77
mkdir -p "$salida"
# shellcheck source=xvfb_comun.sh
source "$(dirname "$0")/xvfb_comun.sh"

carrera="$salida/disparos.txt"
if [ ! -s "$carrera" ]; then
    { printf '2 a b\np 1.5 1.5 0 0\np 2.5 1.5 0 0\n'
      awk 'BEGIN { for (i = 0; i < 3000000; i++) print "s 1.5 1.5 2.5 1.5" }'
      printf 'p 1.5 1.5 0 0\np 2.5 1.5 0 0\n'; } > "$carrera"
fi

enConstruccion=0
for mb in ${ZUL_LIMITES_MB:-300 400 450 500 550 600 800}; do
    rm -f "$salida/errores"
    (ulimit -v $((mb * 1024)) && exec "$visor" "$carrera" "$ejemplos/mapa.txt") 2>"$salida/errores" &
    pid=$!
    ventana=$(timeout 90 xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | head -n 1)
    estado=0
    if [ -z "$ventana" ]; then
        # No window at all: it must have ended by itself, and not by an abort.
        wait "$pid" || estado=$?
        [ "$estado" -eq 1 ] || falla "$mb MB: sin ventana y estado $estado: $(cat "$salida/errores")"
        grep -q "no hay memoria suficiente" "$salida/errores" ||
            falla "$mb MB: sin ventana ni mensaje: $(cat "$salida/errores")"
        echo "$mb MB: sin memoria ni para la caja; lo dijo en la salida de errores"
        enConstruccion=$((enConstruccion + 1))
        continue
    fi
    sleep 0.5
    if [ "$(xdotool getwindowname "$ventana")" = "ZUL Karts" ] &&
        ! grep -q "no hay memoria" "$salida/errores"; then
        kill "$pid"
        wait "$pid" 2>/dev/null
        echo "$mb MB: la ventana se abrió"
        continue
    fi
    xdotool windowfocus --sync "$ventana" key --clearmodifiers Return
    timeout 40 tail --pid="$pid" -f /dev/null || falla "$mb MB: no terminó al cerrar la caja"
    wait "$pid" || estado=$?
    [ "$estado" -eq 1 ] || falla "$mb MB: estado $estado tras la caja, no 1: $(cat "$salida/errores")"
    if grep -q "no hay memoria suficiente para mostrar la carrera" "$salida/errores"; then
        enConstruccion=$((enConstruccion + 1))
        echo "$mb MB: caja de memoria agotada al construir la ventana, estado 1"
    else
        echo "$mb MB: caja de error al leer, estado 1"
    fi
done
[ "$enConstruccion" -gt 0 ] || falla "ningún límite agotó la memoria al construir la ventana"
