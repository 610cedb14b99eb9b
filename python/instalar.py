#!/usr/bin/env python3
"""Instala el módulo zul para el Python que ejecuta este programa, sin red ni
más paquetes que la biblioteca estándar (Python 3.8 o posterior, también el de
pyenv o el de un entorno virtual). Copia zul/*.py y no escribe nada en la
carpeta de las fuentes.

    python3 instalar.py                    # para este usuario (o en el entorno virtual activo)
    python3 instalar.py --destino CARPETA  # en CARPETA; luego PYTHONPATH=CARPETA
"""

import argparse
import os
import shutil
import site
import sys
import sysconfig

sys.dont_write_bytecode = True  # leaves no __pycache__ beside the sources


def destino_por_omision():
    # In a virtual environment the user's folder is not looked at: its own one is.
    if sys.prefix != getattr(sys, "base_prefix", sys.prefix):
        return sysconfig.get_paths()["purelib"]
    return site.getusersitepackages()


def main():
    lector = argparse.ArgumentParser(description="Instala el módulo zul (kit del concursante).")
    lector.add_argument("--destino", help="carpeta donde dejar el módulo zul")
    opciones = lector.parse_args()
    if sys.version_info < (3, 8):
        sys.exit("instalar.py: el kit necesita Python 3.8 o posterior; este es %d.%d"
                 % sys.version_info[:2])
    origen = os.path.join(os.path.dirname(os.path.abspath(__file__)), "zul")
    carpeta = os.path.abspath(opciones.destino or destino_por_omision())
    final = os.path.join(carpeta, "zul")
    try:
        os.makedirs(final, exist_ok=True)
        for nombre in sorted(os.listdir(origen)):
            if nombre.endswith(".py"):
                shutil.copyfile(os.path.join(origen, nombre), os.path.join(final, nombre))
    except OSError as e:
        sys.exit("instalar.py: no se pudo instalar en %s: %s" % (final, e.strerror or e))
    print("instalar.py: módulo zul instalado en %s" % final)
    if opciones.destino or carpeta not in [os.path.abspath(p) for p in sys.path]:
        print("Para usarlo: export PYTHONPATH=%s" % carpeta)


if __name__ == "__main__":
    main()
