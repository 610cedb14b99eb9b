#!/usr/bin/env bash
# Starts the real viewer under Xvfb: on the sample race it opens a 712 x 512
# window titled "ZUL Karts"; on two missing files it shows exactly one message
# box and, once that is closed, exits with a non-zero status.
# Usage: extremo_visor.sh VISOR EJEMPLOS SALIDA
set -euo pipefail
visor="$1"
ejemplos="$2"
salida="$3"
mkdir -p "$salida"
# shellcheck source=xvfb_comun.sh
source "$(dirname "$0")/xvfb_comun.sh"

# Windows of a process that are mapped on screen.
ventanas() { timeout 40 xdotool search --sync --onlyvisible --pid "$1" 2>/dev/null || true; }

# 1. The sample race.
(cd "$ejemplos" && exec "$visor" carrera.txt mapa.txt) &
pid=$!
ventana=$(timeout 40 xdotool search --sync --onlyvisible --name '^ZUL Karts$' | head -n 1) ||
    falla "no apareció la ventana 'ZUL Karts'"
eval "$(xdotool getwindowgeometry --shell "$ventana")"
[ "$WIDTH" = 712 ] && [ "$HEIGHT" = 512 ] || falla "tamaño ${WIDTH}x${HEIGHT}, se esperaba 712x512"
sleep 0.5 # let the repaint timer draw a frame
import -window "$ventana" "$salida/visor.png"
[ -s "$salida/visor.png" ] || falla "no se pudo tomar la captura"
kill "$pid"
wait "$pid" 2>/dev/null || true
echo "ventana 712x512 y captura en $salida/visor.png"

# 2. Two missing files.
"$visor" "$salida/no-existe-carrera.txt" "$salida/no-existe-mapa.txt" &
pid=$!
lista=$(ventanas "$pid")
[ -n "$lista" ] || falla "no apareció la caja de mensaje"
sleep 0.3
lista=$(xdotool search --onlyvisible --pid "$pid")
[ "$(echo "$lista" | wc -l)" = 1 ] || falla "se esperaba una sola ventana, hay: $lista"
caja=$(echo "$lista" | head -n 1)
import -window "$caja" "$salida/error.png"
xdotool windowfocus --sync "$caja" key --clearmodifiers Return
estado=0
timeout 40 tail --pid="$pid" -f /dev/null || falla "el visor no terminó al cerrar la caja"
wait "$pid" || estado=$?
[ "$estado" -ne 0 ] || falla "el visor terminó con estado 0 tras no poder abrir los archivos"
echo "caja de error única; estado de salida $estado"
