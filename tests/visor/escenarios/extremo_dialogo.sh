#!/usr/bin/env bash
# Starts the real viewer under Xvfb without the two paths: the "Abrir carrera"
# dialog shows, and cancelling it exits with status 0. Started with the race
# log only, typing the map's name and Return opens the race; Ctrl+O in the
# race window brings the dialog back, filled in, and Escape leaves the race on
# show.
# Usage: extremo_dialogo.sh VISOR EJEMPLOS SALIDA
set -euo pipefail
visor="$1"
ejemplos="$2"
salida="$3"
mkdir -p "$salida"
# shellcheck source=xvfb_comun.sh
source "$(dirname "$0")/xvfb_comun.sh"


# Waits for the process to end and leaves its exit status in $estado.
espera_fin() {
    timeout 40 tail --pid="$1" -f /dev/null || falla "el visor no terminó"
    estado=0
    wait "$1" || estado=$?
}

# 1. No arguments: the dialog, and Escape cancels it.
(cd "$ejemplos" && exec "$visor") &
pid=$!
dialogo=$(ventana "$pid" 'Abrir carrera')
[ -n "$dialogo" ] || falla "sin argumentos no apareció la ventana 'Abrir carrera'"
[ -z "$(xdotool search --all --onlyvisible --pid "$pid" --name '^ZUL Karts$' 2>/dev/null || true)" ] ||
    falla "la ventana de la carrera apareció sin elegir archivos"
sleep 0.3
import -window "$dialogo" "$salida/dialogo.png"
[ -s "$salida/dialogo.png" ] || falla "no se pudo tomar la captura"
xdotool windowfocus --sync "$dialogo" key --clearmodifiers Escape
espera_fin "$pid"
[ "$estado" = 0 ] || falla "cancelar terminó con estado $estado, se esperaba 0"
echo "ventana 'Abrir carrera' sin argumentos; cancelar sale con estado 0"

# 2. The race log only: the map typed in the dialog opens the race.
(cd "$ejemplos" && exec "$visor" carrera.txt) &
pid=$!
dialogo=$(ventana "$pid" 'Abrir carrera')
[ -n "$dialogo" ] || falla "con una ruta no apareció la ventana 'Abrir carrera'"
sleep 0.3
# Focus is on the empty map field.
xdotool windowfocus --sync "$dialogo" type --delay 20 mapa.txt
import -window "$dialogo" "$salida/dialogo-relleno.png"
xdotool key --clearmodifiers Return
carrera=$(ventana "$pid" 'ZUL Karts')
[ -n "$carrera" ] || falla "aceptar no abrió la ventana 'ZUL Karts'"
sleep 0.5 # let the repaint timer draw a frame
import -window "$carrera" "$salida/carrera.png"
echo "carrera abierta desde el diálogo"

# 3. Ctrl+O in the race window: the dialog again; Escape keeps the race.
xdotool windowfocus --sync "$carrera" key --clearmodifiers ctrl+o
dialogo=$(ventana "$pid" 'Abrir carrera')
[ -n "$dialogo" ] || falla "Ctrl+O no abrió la ventana 'Abrir carrera'"
sleep 0.3
import -window "$dialogo" "$salida/ctrl-o.png"
xdotool windowfocus --sync "$dialogo" key --clearmodifiers Escape
for _ in $(seq 50); do
    [ -z "$(xdotool search --all --onlyvisible --pid "$pid" --name '^Abrir carrera$' 2>/dev/null || true)" ] && break
    sleep 0.1
done
[ -z "$(xdotool search --all --onlyvisible --pid "$pid" --name '^Abrir carrera$' 2>/dev/null || true)" ] ||
    falla "Escape no cerró el diálogo"
kill -0 "$pid" 2>/dev/null || falla "el visor terminó al cancelar Ctrl+O"
[ -n "$(xdotool search --all --onlyvisible --pid "$pid" --name '^ZUL Karts$' 2>/dev/null || true)" ] ||
    falla "la carrera desapareció al cancelar Ctrl+O"
kill "$pid"
wait "$pid" 2>/dev/null || true
echo "Ctrl+O abre el diálogo y cancelarlo conserva la carrera; capturas en $salida"
