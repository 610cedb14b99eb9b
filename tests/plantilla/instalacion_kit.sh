#!/usr/bin/env bash
# Installs the build into a scratch prefix and plays the contestant: copies the installed
# template, builds bot.cpp against the installed ZULlib with find_package, runs it and bot.py
# under the installed zulprueba, and checks that both answer a recorded game alike. Also the
# manual page and the Python module and sample as installed.
#
#   instalacion_kit.sh CMAKE CONSTRUCCION TRABAJO PYTHON [BANDERAS]
#
# BANDERAS are compiler and linker flags for the template, as a sanitized build needs.
set -euo pipefail
cmake_cmd="$1"
construccion="$2"
trabajo="$3"
python="$4"
banderas="${5:-}"
# shellcheck source-path=SCRIPTDIR source=../comun/instalacion.sh
source "$(dirname "$0")/../comun/instalacion.sh"

instala "$cmake_cmd" "$construccion" "$trabajo"

for archivo in share/zul/plantilla/bot.cpp share/zul/plantilla/CMakeLists.txt \
  share/zul/plantilla/bot.py share/zul/plantilla/README.md share/man/man1/zulprueba.1 \
  share/zul/dummy.py lib/python3.11/site-packages/zul/__init__.py bin/zulprueba; do
  [ -f "$prefijo/$archivo" ] || falla "no se instaló $archivo"
done
[ -x "$prefijo/share/zul/plantilla/bot.py" ] || falla "bot.py no es ejecutable"

if command -v man >/dev/null; then
  pagina="$(MANPATH="$prefijo/share/man" MANPAGER=cat MANWIDTH=80 man zulprueba 2>&1)" ||
    falla "man zulprueba: $pagina"
  grep -q -- "--plantilla" <<<"$pagina" || falla "la página de manual no habla de --plantilla"
else
  echo "aviso: sin man en esta máquina; no se comprueba la página de manual"
fi

# The contestant's side: a copy of the template made by the installed zulprueba (which finds
# the template beside itself), built and checked with the installed kit.
copia=$("$prefijo/bin/zulprueba" --plantilla "$trabajo/mibot") ||
  falla "zulprueba --plantilla falló: $copia"
grep -q "plantilla copiada de $(cd "$prefijo/share/zul/plantilla" && pwd -P) en" <<<"$copia" ||
  falla "zulprueba --plantilla no copió la plantilla instalada: $copia"
"$cmake_cmd" -S "$trabajo/mibot" -B "$trabajo/mibot/build" -DCMAKE_PREFIX_PATH="$prefijo" \
  -DCMAKE_CXX_FLAGS="$banderas" -DCMAKE_EXE_LINKER_FLAGS="$banderas" \
  >"$trabajo/configurar.log" 2>&1 || falla "la plantilla no configura: $(tail -5 "$trabajo/configurar.log")"
"$cmake_cmd" --build "$trabajo/mibot/build" >"$trabajo/compilar.log" 2>&1 ||
  falla "la plantilla no compila: $(tail -5 "$trabajo/compilar.log")"

export PYTHONPATH="$prefijo/lib/python3.11/site-packages"
zulprueba="$prefijo/bin/zulprueba"
cd "$trabajo"
# A generous limit per reply: the machine's load decides nothing here.
for bot in "mibot/build/mibot" "$python mibot/bot.py" "$python $prefijo/share/zul/dummy.py"; do
  nombre="$(basename "${bot##* }")"
  # shellcheck disable=SC2086 # the bot is a command with its arguments
  if ! ZUL_GRABAR="partida-$nombre.txt" "$zulprueba" --pasos 250 --limite 20000 -- $bot \
    >"prueba-$nombre.txt" 2>&1; then
    falla "zulprueba rechaza $bot: $(cat "prueba-$nombre.txt")"
  fi
  grep -q "Resultado: el bot cumple el protocolo" "prueba-$nombre.txt" ||
    falla "zulprueba no da por bueno $bot"
done
# bot.py is bot.cpp in Python: the same answers to the same recorded game.
mibot/build/mibot <partida-mibot.txt >respuestas-cpp.txt
"$python" mibot/bot.py <partida-mibot.txt >respuestas-py.txt
cmp -s respuestas-cpp.txt respuestas-py.txt || falla "bot.py no contesta como bot.cpp"
[ "$(grep -c '^s' respuestas-cpp.txt)" -eq 3 ] || falla "el bot no disparó cada 100 turnos"

# The template's README as written, in the fresh copy: every command of its sh blocks but the
# window (and, for a sanitized build, the plain configure step, done above with the flags).
awk '/^```sh$/ {b = 1; next} /^```$/ {b = 0} b' mibot/README.md |
  grep -v '^\$ZUL/bin/visor' | { if [ -n "$banderas" ]; then grep -v '^cmake '; else cat; fi; } \
  >ordenes-readme.sh
# Its "python3" is the tests' interpreter itself, the real program rather than a version
# manager's shim, which can take longer to start than zulprueba's default limit for a reply.
mkdir -p interprete
ln -sf "$("$python" -c 'import sys; print(sys.executable)')" interprete/python3
(cd mibot && PATH="$trabajo/interprete:$PATH" ZUL="$prefijo" bash -euo pipefail ../ordenes-readme.sh \
  >../readme.log 2>&1) ||
  falla "las órdenes del README de la plantilla fallan: $(tail -5 readme.log)"
grep -q '^\$ZUL/bin/visor --png .*--depuracion bot.dep' mibot/README.md || falla "el README no muestra el visor"
# Both bots draw and note the same things: the same debug file, byte for byte.
head -1 mibot/bot.dep | grep -qx "zul-depuracion 1" || falla "bot.cpp no dejó su depuración"
grep -q '^nota flecha' mibot/bot.dep || falla "bot.cpp no anotó su decisión"
cmp -s mibot/bot.dep mibot/bot-py.dep || falla "bot.py no depura como bot.cpp"

termina instalacion_kit
