#!/usr/bin/env bash
# CPU share of a paused viewer: the sample race under Xvfb, at zoom 10 (the
# start value) and at zoom 3, measured from /proc/PID/stat (user + system time)
# over SEGUNDOS seconds each. Prints one line per zoom: "zoom Z: P % de un núcleo".
#
#   bench/reposo.sh VISOR EJEMPLOS [SEGUNDOS]
#
# The display is :35 unless ZUL_PANTALLA names another.
set -euo pipefail
visor="$(realpath "$1")"
ejemplos="$2"
segundos="${3:-20}"
pantalla="${ZUL_PANTALLA:-:35}"
temporal="$(mktemp -d)"

Xvfb "$pantalla" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
pid=""
trap 'kill $pid $xvfb 2>/dev/null || true; rm -rf "$temporal"' EXIT
export DISPLAY="$pantalla"
unset QT_QPA_PLATFORM
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

(cd "$ejemplos" && exec "$visor" carrera.txt mapa.txt >"$temporal/visor.log" 2>&1) &
pid=$!
ventana=$(timeout 15 xdotool search --sync --onlyvisible --name '^ZUL Karts$' | head -n 1) || {
    echo "no apareció la ventana del visor" >&2
    exit 1
}
sleep 1 # the first paints and the loading are not idle time

cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
mide() {
    local antes despues
    antes=$(cpu)
    sleep "$segundos"
    despues=$(cpu)
    awk -v a="$antes" -v b="$despues" -v hz="$(getconf CLK_TCK)" -v s="$segundos" \
        'BEGIN { printf "%.2f", 100 * (b - a) / hz / s }'
}

echo "zoom 10: $(mide) % de un núcleo"

# The zoom box sits 92 pixels from the right edge of the window, 270 from its
# top (712 x 512 window); the track view (the left 400 pixels) must change, or
# the click missed it.
vista() { import -window "$ventana" -crop 400x500+0+0 +repage "$1"; }
vista "$temporal/antes.png"
eval "$(xdotool getwindowgeometry --shell "$ventana")"
xdotool mousemove --window "$ventana" $((WIDTH - 92)) 270 click --repeat 3 1
xdotool key --clearmodifiers ctrl+a
xdotool type 3
xdotool key Return
sleep 1
vista "$temporal/despues.png"
if [ "$(compare -metric AE "$temporal/antes.png" "$temporal/despues.png" null: 2>&1 || true)" = 0 ]; then
    echo "no se pudo poner el zoom a 3 (¿cambió el panel?)" >&2
    exit 1
fi
echo "zoom 3: $(mide) % de un núcleo"
