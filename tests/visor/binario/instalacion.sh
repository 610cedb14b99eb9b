#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a user gets: the
# program, its manual page (with every option of --help), its arrow pictures, a valid desktop entry with its icon, and an
# installed program that runs from any folder with no display and takes its
# pictures from the installed ones (a picture in the working folder still wins).
#
#   instalacion.sh CMAKE CONSTRUCCION TRABAJO
set -euo pipefail
cmake_cmd="$1"
construccion="$2"
trabajo="$3"
# shellcheck source-path=SCRIPTDIR source=../../comun/instalacion.sh
source "$(dirname "$0")/../../comun/instalacion.sh"

instala "$cmake_cmd" "$construccion" "$trabajo"
mkdir "$trabajo/vacia"

for archivo in bin/visor share/man/man1/visor.1 share/zul/arriba.png share/zul/abajo.png share/zul/izquierda.png \
  share/zul/derecha.png share/applications/zulkarts-visor.desktop \
  share/icons/hicolor/64x64/apps/zulkarts-visor.png; do
  [ -f "$prefijo/$archivo" ] || falla "no se instaló $archivo"
done
[ -x "$prefijo/bin/visor" ] || falla "bin/visor no es ejecutable"

entrada="$prefijo/share/applications/zulkarts-visor.desktop"
if ! salida_validacion="$(desktop-file-validate "$entrada" 2>&1)" || [ -n "$salida_validacion" ]; then
  falla "desktop-file-validate: $salida_validacion"
fi
grep -qx 'Exec=visor' "$entrada" || falla "la entrada no ejecuta visor"
grep -qx 'Icon=zulkarts-visor' "$entrada" || falla "la entrada no nombra su icono"

# The icon is a 64 x 64 PNG: signature, then width and height in IHDR.
icono="$prefijo/share/icons/hicolor/64x64/apps/zulkarts-visor.png"
firma="$(od -An -tx1 -N8 "$icono" | tr -d ' \n')"
[ "$firma" = "89504e470d0a1a0a" ] || falla "el icono no es un PNG"
medidas="$(od -An -tu1 -j16 -N8 "$icono" | tr -s ' ' | sed 's/^ //')"
[ "$medidas" = "0 0 0 64 0 0 0 64" ] || falla "el icono no mide 64x64 ($medidas)"

# The installed program, started from an empty folder with no display.
visor() {
  (cd "$trabajo/vacia" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
    "$prefijo/bin/visor" "$@")
}
version="$(visor --version)"
[ "$version" = "visor $(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$construccion/CMakeCache.txt")" ] ||
  falla "versión: $version"

# `man visor` finds the page, and the page explains, each in its own entry,
# every option --help lists.
if command -v man >/dev/null; then
  pagina="$(MANPATH="$prefijo/share/man" MANPAGER=cat MANWIDTH=80 man visor 2>&1)" ||
    falla "man visor: $pagina"
  for opcion in $(visor --help | grep -oE '^  (-[a-z], )?--[a-z-]+' | grep -oE -- '--[a-z-]+'); do
    grep -qE -- "^ +(-[a-z], )?$opcion( |$)" <<<"$pagina" ||
      falla "la página de manual no explica $opcion"
  done
else
  echo "aviso: sin man en esta máquina; no se comprueba la página de manual"
fi

# A 12 x 12 track of down arrows around one kart: at zoom 10 the arrow tiles
# fill the picture around the disc.
{
  echo "12 12"
  for _ in $(seq 12); do echo "0 0 0 0 0 0 0 0 0 0 0 0"; done
} >"$trabajo/mapa.txt"
echo "1 solo p 6 6 0 0" >"$trabajo/carrera.txt"
dibuja() {
  visor --png "$trabajo/$1" --tamano 120x120 "$trabajo/carrera.txt" "$trabajo/mapa.txt"
}
dibuja instalada.png
[ -s "$trabajo/instalada.png" ] || falla "no se dibujó nada"
# The installed pictures are the built-in ones: the same picture as the
# program in the build tree draws.
(cd "$trabajo/vacia" && env -u DISPLAY "$construccion/visor/visor" --png "$trabajo/compilada.png" \
  --tamano 120x120 "$trabajo/carrera.txt" "$trabajo/mapa.txt")
cmp -s "$trabajo/instalada.png" "$trabajo/compilada.png" ||
  falla "el programa instalado no dibuja como el compilado"

# A user replaces the installed down arrow with a magenta one: it shows.
cp "$prefijo/share/zul/abajo.png" "$trabajo/abajo-original.png"
echo "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAIAAACQd1PeAAAADElEQVR4nGP4z/AfAAQAAf8iCjrwAAAAAElFTkSuQmCC" |
  base64 -d >"$prefijo/share/zul/abajo.png"
dibuja cambiada.png
cmp -s "$trabajo/instalada.png" "$trabajo/cambiada.png" &&
  falla "la flecha instalada no se usó"
# A picture in the working folder wins over the installed one.
cp "$trabajo/abajo-original.png" "$trabajo/vacia/abajo.png"
dibuja local.png
cmp -s "$trabajo/instalada.png" "$trabajo/local.png" ||
  falla "la flecha de la carpeta de trabajo no ganó a la instalada"

termina instalacion
