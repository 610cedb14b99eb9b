# Sourced by the end-to-end scripts: a private Xvfb display for the test, torn
# down on exit together with the process in $pid. Expects $salida to exist;
# $pantalla_xvfb, when set, is the screen's size (1024x768x24 by default).

# A display number left by an earlier run must not be read before Xvfb writes its own.
rm -f "$salida/pantalla"
# -noreset: by default the server resets when its last client leaves, and a
# viewer started in that moment finds no display.
Xvfb -displayfd 3 -screen 0 "${pantalla_xvfb:-1024x768x24}" -nolisten tcp -noreset 3>"$salida/pantalla" 2>/dev/null &
xvfb=$!
pid=""
trap 'kill $pid $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ -s "$salida/pantalla" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$salida/pantalla")"
unset QT_QPA_PLATFORM

falla() { echo "FALLO: $*" >&2; exit 1; }

# The first visible window of process $1 named $2, waited for generously (a
# loaded machine starts the viewer slowly), or nothing once the viewer is gone.
# Polled: xdotool's --sync search gives up at once when a window it is reading
# is destroyed under it.
ventana() {
    for _ in $(seq 600); do
        kill -0 "$1" 2>/dev/null || return 0
        xdotool search --all --onlyvisible --pid "$1" --name "^$2\$" 2>/dev/null | head -n 1 | grep . &&
            return 0
        sleep 0.2
    done
}
