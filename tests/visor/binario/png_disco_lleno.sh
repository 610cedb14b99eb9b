#!/bin/sh
# `visor --png` on a really full disk: a 128 KiB tmpfs in a private mount
# namespace (gone with the process), nearly filled before the picture is
# drawn. The save must fail with its message and status 1, leave an earlier
# picture of the same name as it was, and leave no partial file.
# Exit 77 (skipped) where namespaces or mounting are not allowed.
visor="$1"
ejemplos="$2"
unshare --mount --propagation private true 2>/dev/null || exit 77
exec unshare --mount --propagation private sh -c '
  visor="$1"; ejemplos="$2"
  carpeta=$(mktemp -d) || exit 77
  mount -t tmpfs -o size=128k tmpfs "$carpeta" 2>/dev/null || { rmdir "$carpeta"; exit 77; }
  falla() { echo "FALLO: $*" >&2; umount "$carpeta"; rmdir "$carpeta"; exit 1; }
  printf "la imagen de antes" > "$carpeta/vista.png"
  # About 20 KiB left: a small picture fits, a big one (56 KiB) does not.
  head -c 110000 /dev/zero > "$carpeta/relleno" 2>/dev/null
  "$visor" --png "$carpeta/cabe.png" --tamano 300x300 "$ejemplos/carrera.txt" \
    "$ejemplos/mapa.txt" || falla "una imagen pequeña no se guardó"
  [ -s "$carpeta/cabe.png" ] || falla "la imagen pequeña quedó vacía"
  rm "$carpeta/cabe.png"
  for caso in una serie; do
    if [ $caso = una ]; then
      errores=$("$visor" --png "$carpeta/vista.png" --tamano 2000x2000 --zoom 20 \
        "$ejemplos/carrera.txt" "$ejemplos/mapa.txt" 2>&1 >/dev/null)
      estado=$?; nombre="$carpeta/vista.png"
    else
      errores=$("$visor" --png "$carpeta/serie.png" --paso 3 --hasta 6 --tamano 2000x2000 --zoom 20 \
        "$ejemplos/carrera.txt" "$ejemplos/mapa.txt" 2>&1 >/dev/null)
      estado=$?; nombre="$carpeta/serie-00003.png"
    fi
    [ $estado -eq 1 ] || falla "$caso: estado $estado, no 1 ($errores)"
    esperado="visor: No se pudo guardar la imagen en $nombre: no queda espacio en el disco."
    [ "$errores" = "$esperado" ] || falla "$caso: dice «$errores», no «$esperado»"
    restos=$(ls -A "$carpeta" | tr "\n" " ")
    [ "$restos" = "relleno vista.png " ] || falla "$caso: quedan $restos"
    [ "$(cat "$carpeta/vista.png")" = "la imagen de antes" ] || falla "$caso: vista.png cambió"
    echo "$caso: $errores"
  done
  umount "$carpeta"; rmdir "$carpeta"
' sh "$visor" "$ejemplos"
