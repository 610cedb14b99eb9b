#!/usr/bin/env bash
# Scenarios of a contest day, through the real viewer under Xvfb with openbox,
# driven with xdotool and checked through the viewer's debug dump
# (ZUL_VOLCADO), with a screenshot of each:
#   1. live mode started before the race log exists, then the referee writes;
#   2. live mode started while the referee is writing;
#   3. the Director camera: the "Mirar al jugador:" field, the marked
#      "Jugadores" row, the standings' bold row and the ring agree.
# Usage: escenario_proyector.sh VISOR EJEMPLOS SALIDA CARRERA_EN_VIVO
set -euo pipefail
visor="$1"
ejemplos="$2"
salida="$3"
escritor_py="$4"
command -v openbox >/dev/null && command -v xdotool >/dev/null || exit 77
mkdir -p "$salida"
# shellcheck source=xvfb_comun.sh
source "$(dirname "$0")/xvfb_comun.sh"
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
escritor=""
trap 'kill $pid $escritor $wm $xvfb 2>/dev/null || true' EXIT
export ZUL_VOLCADO="$salida/volcado.json"
volcado="$(dirname "$0")/volcado.py"
carrera="$ejemplos/carrera.txt"

espera() { python3 "$volcado" "$ZUL_VOLCADO" "$carrera" "$@" || falla "${FUNCNAME[1]}: $1"; }
ventana() {
    timeout 30 xdotool search --sync --onlyvisible --pid "$pid" --name '^ZUL Karts$' | head -n 1
}
tecla() { xdotool windowactivate --sync "$v" key --clearmodifiers "$@"; }
cierra() {
    kill "$pid" ${escritor:+"$escritor"} 2>/dev/null || true
    wait "$pid" ${escritor:+"$escritor"} 2>/dev/null || true
    escritor=""
    rm -f "$ZUL_VOLCADO"
}

# 1. Opened before the referee starts: it waits, then follows with no key.
rm -f "$salida/vivo.txt"
"$visor" --en-vivo "$salida/vivo.txt" "$ejemplos/mapa.txt" &
pid=$!
v=$(ventana) || falla "no apareció la ventana"
espera 'esperando'
python3 "$escritor_py" "$salida/vivo.txt" --carrera "$carrera" --pasos-por-segundo 20 >/dev/null &
escritor=$!
espera 'vivo and paso >= 10 and paso >= total - 2'
import -window "$v" "$salida/vivo_antes.png"
# Space pauses: the step stays while the race grows; End follows again.
tecla space
espera 'not vivo and paso + 5 < total'
tecla End
espera 'vivo and paso >= total - 2'
cierra
echo "en vivo, abierto antes que el registro: espera, sigue, pausa y vuelve con Fin"

# 2. Opened while the referee writes: at the head at once.
rm -f "$salida/vivo.txt"
python3 "$escritor_py" "$salida/vivo.txt" --carrera "$carrera" --pasos-por-segundo 20 >/dev/null &
escritor=$!
for _ in $(seq 100); do
    [ -f "$salida/vivo.txt" ] && [ "$(wc -l <"$salida/vivo.txt")" -gt 100 ] && break
    sleep 0.05
done
"$visor" --en-vivo "$salida/vivo.txt" "$ejemplos/mapa.txt" &
pid=$!
v=$(ventana) || falla "no apareció la ventana"
espera 'vivo and paso >= 20 and paso >= total - 2'
import -window "$v" "$salida/vivo_durante.png"
cierra
echo "en vivo, abierto durante la carrera: sigue la cabeza"

# 3. Director: one followed player everywhere, frame after frame.
"$visor" "$carrera" "$ejemplos/mapa.txt" &
pid=$!
v=$(ventana) || falla "no apareció la ventana"
tecla c 4
iguales='seguido == fila == tabla == anillo == mira'
espera "seguido == 3 and $iguales"
tecla d
espera "camara == 'Director' and seguido == primero and $iguales"
for teclas in "End" "Home Prior" "Prior Prior" "Prior Prior Prior"; do
    # shellcheck disable=SC2086
    tecla $teclas
    espera "camara == 'Director' and paso > 0 and seguido == primero and $iguales"
done
import -window "$v" "$salida/director.png"
tecla 3
espera "camara == 'Seguir' and seguido == 2 and $iguales"
cierra
echo "Director: el campo, la fila, la tabla y el anillo coinciden"
