#!/bin/sh
# Runs the real-full-disk case of prueba_video inside a private mount
# namespace with a 256 KiB tmpfs, so the mount goes away with the process.
# Exit 77 (skipped) where namespaces or mounting are not allowed.
prueba="$1"
unshare --mount --propagation private true 2>/dev/null || exit 77
exec unshare --mount --propagation private sh -c '
  carpeta=$(mktemp -d) || exit 77
  mount -t tmpfs -o size=256k tmpfs "$carpeta" 2>/dev/null || { rmdir "$carpeta"; exit 77; }
  salida=$(ZUL_CARPETA_LLENA="$carpeta" "$1" --gtest_filter="DiscoDeVerdad.*" 2>/dev/null)
  estado=$?
  umount "$carpeta"; rmdir "$carpeta"
  printf "%s\n" "$salida"
  # The case must have run, not been skipped or filtered away.
  [ $estado -eq 0 ] && printf "%s\n" "$salida" | grep -q "^\[       OK \] DiscoDeVerdad\." &&
    ! printf "%s\n" "$salida" | grep -q "SKIPPED"
' sh "$prueba"
