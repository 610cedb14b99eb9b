#!/usr/bin/python3
"""How the replay page performs in Chromium, beside zul_bench: writes the
benchmarks' race log (44 MB, 6 players, 200000 steps) and its map with
zul_bench --escribe-entradas, makes its page with visor --html and opens it in
headless Chromium at 1280 x 720. Reports the sizes (the embedded race and map
against the text log), the time to the first picture on the canvas, and the
time each picture takes while playing at 50 steps per second. The sample race
is measured the same way, as the baseline.

pagina.py VISOR ZUL_BENCH [SEGUNDOS]    (Debian's python3, which has selenium)
"""
import base64
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

VISOR, BENCH = sys.argv[1], sys.argv[2]
SEGUNDOS = float(sys.argv[3]) if len(sys.argv) > 3 else 10.0
EJEMPLOS = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'ejemplos')


def navegador(perfil):
    opciones = webdriver.ChromeOptions()
    for a in ('--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
              '--disable-background-networking', '--disable-component-update', '--disable-sync',
              '--user-data-dir=' + perfil):
        opciones.add_argument(a)
    return webdriver.Chrome(service=Service(shutil.which('chromedriver')), options=opciones)


def mide(d, nombre, pagina, registro):
    tamano_registro = os.path.getsize(registro)
    with open(pagina, encoding='utf-8') as f:
        html = f.read()
    datos = len(base64.b64decode(re.search(r'<script id="datos" type="text/plain">(.*?)</script>',
                                           html, re.S).group(1)))
    print(f'{nombre}: registro {tamano_registro / 1e6:.2f} MB, página {os.path.getsize(pagina) / 1e6:.2f} MB, '
          f'carrera y mapa incrustados {datos / 1e6:.2f} MB ({100 * datos / tamano_registro:.1f} % del registro)')
    d.set_window_size(1280, 720)
    d.get('file://' + pagina + '#compacto=1')
    limite = time.time() + 120
    while not d.execute_script('return document.documentElement.dataset.primerCuadro'):
        if time.time() > limite or d.execute_script('return document.documentElement.dataset.listo') == 'error':
            raise SystemExit(f'{nombre}: la página no muestra la carrera')
        time.sleep(0.01)
    primero = float(d.execute_script('return document.documentElement.dataset.primerCuadro'))
    marcas = d.execute_script('return performance.getEntriesByType("mark").map((m) => [m.name, m.startTime])')
    print(f'{nombre}: ' + ', '.join(f'{n} {t / 1000:.2f} s' for n, t in marcas))
    lienzo = d.execute_script('const c = document.getElementById("lienzo"); return [c.width, c.height]')
    # Drawing at 1280 x 720 whatever the window leaves for the track.
    tiempos = d.execute_async_script('''
        const [segundos, listo] = arguments;
        const r = window.reproductor, tiempos = [];
        r.velocidad = 50;
        const dibuja = r.dibuja.bind(r);
        r.dibuja = () => { const t = performance.now(); dibuja([1280, 720]); tiempos.push(performance.now() - t); };
        r.cambia({ paso: 0, zoom: 10, camara: 'seguir', estelas: true, nombres: true });
        r.ejecuta();
        setTimeout(() => { r.pausa(); listo(tiempos); }, segundos * 1000);''', SEGUNDOS)
    tiempos.sort()
    print(f'{nombre}: primer cuadro a los {primero / 1000:.2f} s; lienzo de la ventana {lienzo[0]}x{lienzo[1]}; '
          f'{len(tiempos)} cuadros de 1280x720 en {SEGUNDOS:.0f} s a 50 pasos/s: mediana '
          f'{statistics.median(tiempos):.2f} ms, percentil 95 {tiempos[int(len(tiempos) * 0.95)]:.2f} ms, '
          f'máximo {tiempos[-1]:.2f} ms')


def main():
    carpeta = tempfile.mkdtemp(prefix='zulweb-bench-')
    d = None
    try:
        subprocess.run([BENCH, '--escribe-entradas=' + carpeta], check=True, stdout=subprocess.DEVNULL)
        casos = [('carrera de ejemplo', os.path.join(EJEMPLOS, 'carrera.txt'), os.path.join(EJEMPLOS, 'mapa.txt')),
                 ('registro de 44 MB', os.path.join(carpeta, 'carrera.txt'), os.path.join(carpeta, 'mapa.txt'))]
        d = navegador(os.path.join(carpeta, 'perfil'))
        d.set_script_timeout(SEGUNDOS + 60)
        for nombre, carrera, mapa in casos:
            pagina = os.path.join(carpeta, nombre.replace(' ', '_') + '.html')
            inicio = time.time()
            subprocess.run([VISOR, '--html', pagina, carrera, mapa], check=True)
            print(f'{nombre}: visor --html tardó {time.time() - inicio:.2f} s')
            mide(d, nombre, pagina, carrera)
    finally:
        if d is not None:
            d.quit()
        shutil.rmtree(carpeta, ignore_errors=True)


if __name__ == '__main__':
    main()
