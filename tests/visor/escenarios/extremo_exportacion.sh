#!/usr/bin/env bash
# A video export from the window (Ctrl+E) over an earlier video, ended by the
# session (SIGTERM, as at logout) or by a hang-up while it is written: no
# partial file is left, and the earlier video stays as it was.
# Usage: extremo_exportacion.sh VISOR EJEMPLOS SALIDA
set -euo pipefail
visor="$1"
ejemplos="$2"
salida="$3"
mkdir -p "$salida"
# shellcheck source=xvfb_comun.sh
source "$(dirname "$0")/xvfb_comun.sh"
# A window manager, as at a user's desk: it gives the dialogs their focus.
openbox --sm-disable >/dev/null 2>&1 &
gestor=$!
# The viewer starts only once openbox manages the screen: a window mapped while
# the manager is still taking over can stay unmanaged and never show.
for _ in $(seq 300); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done

parciales() { find "$trabajo" -name '.carrera.mp4.*' | wc -l; }
# A failure must not leave the viewer stopped, nor the display running: the
# test runner would wait for them. This replaces the helper's own trap.
pid=
trap '[ -z "$pid" ] || { kill -CONT "$pid"; kill -KILL "$pid"; } 2>/dev/null; kill "$gestor" "$xvfb" 2>/dev/null || true' EXIT

for senal in TERM HUP; do
    trabajo="$salida/$senal"
    rm -rf "$trabajo"
    mkdir -p "$trabajo"
    printf 'el vídeo de antes' > "$trabajo/carrera.mp4"
    # The export is proposed beside the race log: a copy of it in the test's folder.
    cp "$ejemplos/carrera.txt" "$ejemplos/mapa.txt" "$trabajo/"
    (cd "$trabajo" && exec "$visor" "$trabajo/carrera.txt" "$trabajo/mapa.txt") &
    pid=$!
    carrera=$(ventana "$pid" 'ZUL Karts')
    [ -n "$carrera" ] || falla "no apareció la ventana 'ZUL Karts'"
    xdotool windowfocus --sync "$carrera" key --clearmodifiers ctrl+e
    dialogo=$(ventana "$pid" 'Exportar vídeo')
    [ -n "$dialogo" ] || falla "Ctrl+E no abrió 'Exportar vídeo'"
    # Accept the proposed carrera.mp4, then replacing it in the question that
    # follows. Keys go to that question only: the progress dialog, shown next
    # under the same title, would take a Return as "Cancelar".
    xdotool windowfocus --sync "$dialogo" key --clearmodifiers Return
    pregunta=
    for _ in $(seq 200); do
        pregunta=$(xdotool search --all --onlyvisible --pid "$pid" --name '^Exportar vídeo$' 2>/dev/null |
            grep -vx "$dialogo" | head -n 1 || true)
        [ -n "$pregunta" ] && break
        sleep 0.1
    done
    [ -n "$pregunta" ] || falla "$senal: no preguntó si reemplazar carrera.mp4"
    xdotool windowfocus --sync "$pregunta" key --clearmodifiers Return
    for _ in $(seq 200); do
        [ "$(parciales)" != 0 ] && break
        sleep 0.1
    done
    # Stopped while it writes, so that the signal surely meets the export.
    kill -STOP "$pid"
    [ "$(parciales)" = 1 ] || falla "$senal: la exportación no llegó a empezar o ya terminó"
    kill -"$senal" "$pid"
    kill -CONT "$pid"
    timeout 40 tail --pid="$pid" -f /dev/null || falla "$senal: el visor no terminó"
    [ "$(parciales)" = 0 ] || falla "$senal: quedó un archivo parcial: $(ls -A "$trabajo")"
    [ "$(cat "$trabajo/carrera.mp4")" = 'el vídeo de antes' ] || falla "$senal: el vídeo de antes cambió"
    pid=
    echo "SIG$senal durante la exportación: sin archivo parcial y con el vídeo de antes"
done
