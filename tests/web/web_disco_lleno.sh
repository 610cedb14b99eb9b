#!/bin/sh
# `visor --html` and `visor --sitio` on a really full disk: a 256 KiB tmpfs in
# a private mount namespace (gone with the process), nearly filled first.
# Each must fail with its message and status 1, keep the earlier page or
# site as it was and leave nothing half written.
# Exit 77 (skipped) where namespaces or mounting are not allowed.
visor="$1"
ejemplos="$2"
unshare --mount --propagation private true 2>/dev/null || exit 77
exec unshare --mount --propagation private sh -c '
  visor="$1"; ejemplos="$2"
  carpeta=$(mktemp -d) || exit 77
  mount -t tmpfs -o size=256k tmpfs "$carpeta" 2>/dev/null || { rmdir "$carpeta"; exit 77; }
  falla() { echo "FALLO: $*" >&2; umount "$carpeta"; rmdir "$carpeta"; exit 1; }
  carrera="$ejemplos/carrera.txt"; mapa="$ejemplos/mapa.txt"
  # One site of one race fits (about 130 KiB); then the disk is filled so
  # that a page (about 120 KiB) no longer does.
  "$visor" --sitio "$carpeta/sitio" "$carrera" "$mapa" || falla "el primer sitio no se escribió"
  printf "la página de antes" > "$carpeta/carrera.html"
  head -c 60000 /dev/zero > "$carpeta/relleno" 2>/dev/null
  errores=$("$visor" --html "$carpeta/carrera.html" "$carrera" "$mapa" 2>&1 >/dev/null)
  estado=$?
  [ $estado -eq 1 ] || falla "--html: estado $estado, no 1 ($errores)"
  esperado="visor: No se pudo guardar la página en $carpeta/carrera.html: no queda espacio en el disco."
  [ "$errores" = "$esperado" ] || falla "--html dice «$errores», no «$esperado»"
  [ "$(cat "$carpeta/carrera.html")" = "la página de antes" ] || falla "--html: la página de antes cambió"
  antes=$(ls -A "$carpeta/sitio" | tr "\n" " ")
  errores=$("$visor" --sitio "$carpeta/sitio" "$carrera" "$mapa" "$carrera" "$mapa" 2>&1 >/dev/null)
  estado=$?
  [ $estado -eq 1 ] || falla "--sitio: estado $estado, no 1 ($errores)"
  case "$errores" in
    *"no queda espacio en el disco."*) ;;
    *) falla "--sitio dice «$errores»" ;;
  esac
  [ "$(ls -A "$carpeta/sitio" | tr "\n" " ")" = "$antes" ] || falla "--sitio: el sitio de antes cambió"
  restos=$(ls -A "$carpeta" | tr "\n" " ")
  [ "$restos" = "carrera.html relleno sitio " ] || falla "quedan $restos"
  echo "$errores"
  umount "$carpeta"; rmdir "$carpeta"
' sh "$visor" "$ejemplos"
