#!/usr/bin/env bash
# The window at every size, under a window manager (openbox), driven with
# xdotool as a user would: 712 x 512, 1024 x 768, 1280 x 720, 1920 x 1080 and
# full screen (F11), each without and with the standings (C), and the
# smallest size the window allows. At each one the program's geometry dump
# (ZUL_VOLCADO_GEOMETRIA) is checked by comprueba_geometria.py: no control
# overlaps another or is cut, the track keeps half the width, the standings
# show every column or a scroll bar, and at the smallest size the list of ten
# players does not scroll. In full screen every text grows by one factor.
# Last, G opens the charts and G inside them closes them.
# With ZUL_CAPTURAS set, a screenshot of each state is left in SALIDA.
# Usage: extremo_tamanos.sh VISOR EJEMPLOS SALIDA
set -euo pipefail
visor="$1"
ejemplos="$2"
salida="$3"
aqui="$(cd "$(dirname "$0")" && pwd)"
mkdir -p "$salida"
rm -f "$salida"/*.json "$salida"/*.png
pantalla_xvfb=1920x1080x24
# shellcheck source=xvfb_comun.sh
source "$aqui/xvfb_comun.sh"
openbox --sm-disable >/dev/null 2>&1 &
gestor=$!
trap 'kill $pid $gestor $xvfb 2>/dev/null || true' EXIT
python3 "$aqui/carrera_multitud.py" "$ejemplos/carrera.txt" 10 40 "$salida/carrera.txt"

volcado="$salida/volcado.json"
(cd "$ejemplos" && ZUL_VOLCADO_GEOMETRIA="$volcado" exec "$visor" "$salida/carrera.txt" mapa.txt) &
pid=$!
ventana=$(timeout 40 xdotool search --sync --onlyvisible --name '^ZUL Karts$' | head -n 1) ||
    falla "no apareció la ventana 'ZUL Karts'"

# Waits until the dump shows the window in the state given as a Python test
# on `v` (the window's entry) and `d` (the whole dump), then keeps a copy
# named $1.
espera() {
    local nombre="$1" condicion="$2"
    for _ in $(seq 200); do
        if [ -s "$volcado" ] && python3 - "$volcado" "$condicion" <<'PY' 2>/dev/null; then
import json, sys
d = json.load(open(sys.argv[1], encoding="utf-8"))
v = [w for w in d["ventanas"] if w["clase"] == "CVentana"][0]
sys.exit(0 if eval(sys.argv[2]) else 1)
PY
            cp "$volcado" "$salida/$nombre.json"
            [ -z "${ZUL_CAPTURAS:-}" ] || import -window "$ventana" "$salida/$nombre.png" 2>/dev/null || true
            return 0
        fi
        sleep 0.1
    done
    falla "$nombre: la ventana no llegó al estado esperado ($condicion)"
}
tabla() { echo "any(w['clase'] == 'QTableView' for w in v['widgets']) == $1"; }
tecla() { xdotool windowactivate --sync "$ventana" key --clearmodifiers "$1"; }
comprueba() {
    python3 "$aqui/comprueba_geometria.py" "$salida/$1.json" "${@:2}" || falla "$1"
    echo "$1: bien"
}

# The standings are on show at the start only where they fit beside the
# track: not at 712 x 512. C shows them, C again hides them, and that choice
# stands at every size.
espera inicio "v['tamano'] == [712, 512] and $(tabla False)"
for estado in si no; do
    con=$([ "$estado" = si ] && echo True || echo False)
    tecla c
    espera "tecla-c-$estado" "$(tabla "$con")"
    for tamano in 712x512 1024x768 1280x720 1920x1080; do
        xdotool windowsize --sync "$ventana" "${tamano%x*}" "${tamano#*x}" 2>/dev/null || true
        espera "$tamano-$estado" "v['tamano'] == [${tamano%x*}, ${tamano#*x}] and $(tabla "$con")"
        comprueba "$tamano-$estado" --tamano "$tamano" --clasificacion "$estado"
    done
    tecla F11
    espera "completa-$estado" "v['pantallaCompleta'] and v['tamano'] == [1920, 1080]"
    comprueba "completa-$estado" --tamano 1920x1080 --clasificacion "$estado" \
        --letra-de "$salida/1920x1080-$estado.json"
    tecla F11
    espera "normal-$estado" "not v['pantallaCompleta']"
done

# The smallest window, with and without the standings: the ten players'
# list does not scroll.
for estado in no si; do
    con=$([ "$estado" = si ] && echo True || echo False)
    [ "$estado" = si ] && { tecla c; espera "tecla-c-minimo" "$(tabla True)"; }
    xdotool windowsize "$ventana" 300 200
    espera "minimo-$estado" "v['tamano'] == v['minimo'] and $(tabla "$con")"
    comprueba "minimo-$estado" --clasificacion "$estado" --lista-entera
done

# G opens the charts; G pressed in the charts window closes it.
graficas="any(w['clase'] == 'CGraficas' for w in d['ventanas'])"
tecla g
espera graficas "$graficas"
xdotool windowactivate --sync "$(xdotool search --onlyvisible --name '^Gráficas$' | head -n 1)" \
    key --clearmodifiers g
espera graficas-cerradas "not $graficas"
echo "G abre y cierra las gráficas: bien"
