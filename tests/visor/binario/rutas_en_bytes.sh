#!/bin/sh
# File names that are not UTF-8, from the command line to open(): read and
# written under exactly their bytes, and named in messages with the bytes that
# are not text escaped.
# Usage: rutas_en_bytes.sh VISOR EJEMPLOS SALIDA
visor="$1"
ejemplos="$2"
salida="$3"
falla() { echo "FALLO: $*" >&2; exit 1; }
rm -rf "$salida" && mkdir -p "$salida" && cd "$salida" || exit 1
carrera=$(printf 'c\377\376.txt')
mapa=$(printf 'm\351.txt')
cp "$ejemplos/carrera.txt" "$carrera" && cp "$ejemplos/mapa.txt" "$mapa" || exit 1

"$visor" --resultados "$carrera" >resultados.txt || falla "--resultados no leyó c\\xff\\xfe.txt"
head -1 resultados.txt | grep -q '^Resultados de c\\xff\\xfe\.txt ' ||
  falla "--resultados lo nombra así: $(head -1 resultados.txt)"
png=$(printf 'o\351.png')
"$visor" --png "$png" --tamano 64x48 "$carrera" "$mapa" || falla "--png no dibujó o\\xe9.png"
[ -s "$png" ] || falla "--png no escribió o\\xe9.png"
video=$(printf 'v\351.mp4')
"$visor" --video "$video" --tamano 64x48 --hasta 2 "$carrera" "$mapa" 2>/dev/null ||
  falla "--video no escribió v\\xe9.mp4"
[ -s "$video" ] || falla "--video dejó v\\xe9.mp4 vacío"
# Nothing written under another name (U+FFFD in place of the bytes).
[ "$(ls -A | wc -l)" = 5 ] || falla "archivos de más: $(ls -A | od -c | head -3)"
"$visor" --sitio sitio "$carrera" "$mapa" || falla "--sitio no leyó c\\xff\\xfe.txt"
[ -s sitio/index.html ] || falla "--sitio no escribió su índice"
# An output that is one of the inputs under those names is refused.
"$visor" --png "$mapa" "$carrera" "$mapa" 2>/dev/null && falla "--png sobrescribió el mapa"
cmp -s "$mapa" "$ejemplos/mapa.txt" || falla "el mapa cambió"
errores=$("$visor" --resultados "$(printf 'no\377.txt')" 2>&1 >/dev/null)
[ "$errores" = 'visor: no\xff.txt: No se pudo abrir el archivo: no existe.' ] ||
  falla "un archivo que falta se nombra así: $errores"
echo "rutas que no son UTF-8: leídas, escritas y nombradas byte a byte"
