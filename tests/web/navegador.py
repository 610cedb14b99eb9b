#!/usr/bin/python3
"""The replay page written by the real visor, in headless Chromium (one
browser for every case): the picture against visor --png pixel by pixel, the
deep link, the keys, following a kart by a click, the compact mode, and that
the page asks for nothing but file: and data: addresses.

navegador.py VISOR EJEMPLOS
"""
import base64
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

VISOR, EJEMPLOS = sys.argv[1], sys.argv[2]
CARRERA = os.path.join(EJEMPLOS, 'carrera.txt')
MAPA = os.path.join(EJEMPLOS, 'mapa.txt')
fallos = []


def falla(texto):
    fallos.append(texto)
    print('FALLO:', texto, flush=True)


def navegador(perfil):
    opciones = webdriver.ChromeOptions()
    for a in ('--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
              '--disable-background-networking', '--disable-component-update', '--disable-sync',
              '--user-data-dir=' + perfil, '--window-size=1000,700'):
        opciones.add_argument(a)
    opciones.binary_location = shutil.which('chromium') or '/usr/bin/chromium'
    opciones.set_capability('goog:loggingPrefs', {'performance': 'ALL', 'browser': 'ALL'})
    servicio = Service(shutil.which('chromedriver') or '/usr/bin/chromedriver')
    return webdriver.Chrome(service=servicio, options=opciones)


def abre(d, ruta, fragmento=''):
    d.get('file://' + ruta + fragmento)
    return lista(d)


def lista(d):
    limite = time.time() + 20
    while time.time() < limite:
        listo = d.execute_script('return document.documentElement.dataset.listo')
        if listo:
            return listo == '1'
        time.sleep(0.02)
    return False


def estado(d):
    return d.execute_script('return Object.assign({ejecutando: window.reproductor.ejecutando}, '
                            'window.reproductor.estado)')


def ppm(ruta):
    with open(ruta, 'rb') as f:
        datos = f.read()
    partes = datos.split(maxsplit=4)
    return int(partes[1]), int(partes[2]), partes[4]


def diferencias(ref, pag, ancho, banda):
    """Pixels that differ by more than 2 in a channel, outside the rims of
    the discs (where the painter's ellipse and the page's disc may part by
    a pixel)."""
    malos = []
    for i in range(0, len(ref), 3):
        if max(abs(ref[i] - pag[i]), abs(ref[i + 1] - pag[i + 1]), abs(ref[i + 2] - pag[i + 2])) > 2:
            x, y = (i // 3) % ancho, (i // 3) // ancho
            if not any(abs(((x + .5 - cx) ** 2 + (y + .5 - cy) ** 2) ** .5 - r) < 1.6 for cx, cy, r in banda):
                malos.append((x, y, tuple(ref[i:i + 3]), tuple(pag[i:i + 3])))
    return malos


def paridad(d, carpeta):
    azar = random.Random(int(os.environ.get('ZUL_SEMILLA', '20261209')))
    salida = os.path.join(carpeta, 'ref.ppm')
    for caso in range(8):
        paso, jugador = azar.randrange(900), azar.randrange(5)
        zoom = azar.choice([0.3, 1, 2.5, 6.99, 7, 10, 17.5, 50, round(azar.uniform(0.1, 50), 3)])
        camara = ['seguir', 'centrado', 'pista', 'director'][caso % 4]
        ancho, alto = azar.randrange(40, 640), azar.randrange(40, 480)
        estelas = caso % 2 == 1
        orden = [VISOR, '--png', salida, '--paso', str(paso), '--jugador', str(jugador), '--zoom',
                 str(zoom), '--camara', camara, '--tamano', f'{ancho}x{alto}', CARRERA, MAPA]
        subprocess.run(orden + (['--estelas'] if estelas else []), check=True)
        _, _, ref = ppm(salida)
        r = d.execute_script('''
            const r = window.reproductor;
            r.cambia(arguments[0], false);
            r.dibuja([arguments[1], arguments[2]]);
            const a = r.lienzo.imagen.data;
            let s = '';
            for (let i = 0; i < a.length; i += 4) s += String.fromCharCode(a[i], a[i + 1], a[i + 2]);
            const e = r.encuadre, p = r.escena.posiciones, radio = Math.max(6, Math.ceil(2.5 * e.zoom));
            const banda = [];
            for (let j = 0; j < p.length / 2; j++) banda.push([e.px(p[2 * j]), e.py(p[2 * j + 1]), radio]);
            return {rgb: btoa(s), banda};''',
            {'paso': paso, 'mira': jugador, 'zoom': zoom, 'camara': camara, 'estelas': estelas,
             'nombres': False}, ancho, alto)
        pag = base64.b64decode(r['rgb'])
        malos = diferencias(ref, pag, ancho, r['banda'])
        descripcion = f'paso {paso}, jugador {jugador}, zoom {zoom}, {camara}, {ancho}x{alto}'
        if len(pag) != len(ref) or malos:
            falla(f'paridad ({descripcion}): {len(malos)} píxeles distintos, p. ej. {malos[:4]}')
        # The comparison itself must see a change of colour or of rounding.
        if caso == 0:
            color = bytearray(ref)
            color[0::3] = bytes(min(v + 3, 255) if v else 0 for v in ref[0::3])
            movida = bytes(ref[3:]) + bytes(3)
            if not diferencias(ref, color, ancho, r['banda']):
                falla('la comparación no ve un cambio del color de la pista')
            if not diferencias(ref, movida, ancho, r['banda']):
                falla('la comparación no ve un píxel de desplazamiento')


def enlaces_y_teclas(d, pagina):
    if not abre(d, pagina, '#paso=123&jugador=2&zoom=7.5&camara=centrado'):
        falla('la página no abre con un fragmento')
        return
    e = estado(d)
    if (e['paso'], e['mira'], e['zoom'], e['camara']) != (123, 2, 7.5, 'centrado'):
        falla(f'el fragmento no fija el estado: {e}')
    if d.find_element(By.ID, 'pasoTexto').text != 'Paso 123 de 900':
        falla('«Paso k de N» no sigue al fragmento')
    lienzo = d.find_element(By.ID, 'lienzo')
    lienzo.click()
    teclas = [
        (Keys.ARROW_RIGHT, lambda e: e['paso'] == 124, 'flecha derecha'),
        (Keys.ARROW_LEFT, lambda e: e['paso'] == 123, 'flecha izquierda'),
        (Keys.END, lambda e: e['paso'] == 899, 'Fin'),
        (Keys.HOME, lambda e: e['paso'] == 0, 'Inicio'),
        (Keys.PAGE_UP, lambda e: e['paso'] == 10, 'Re Pág'),
        ('+', lambda e: abs(e['zoom'] - 7.5 * 1.25) < 1e-9, '+'),
        ('-', lambda e: abs(e['zoom'] - 7.5) < 1e-9, '-'),
        ('0', lambda e: e['camara'] == 'pista', '0'),
        ('4', lambda e: e['mira'] == 3 and e['camara'] == 'seguir', 'cifra 4'),
        ('d', lambda e: e['camara'] == 'director', 'D'),
        (']', lambda e: e['paso'] > 10 and e['camara'] == 'seguir', ']'),
        (']', lambda e: e['paso'] > anterior['paso'], ']'),
        ('[', lambda e: e['paso'] < anterior['paso'], '['),
        (Keys.SPACE, lambda e: e['ejecutando'], 'Espacio (ejecutar)'),
        (Keys.SPACE, lambda e: not e['ejecutando'], 'Espacio (pausa)'),
    ]
    anterior = estado(d)
    for tecla, bien, nombre in teclas:
        ActionChains(d).send_keys(tecla).perform()
        e = estado(d)
        if not bien(e):
            falla(f'tecla {nombre}: {e} (antes {anterior})')
        anterior = e
    # The address follows the state, so a copied address shows the same moment.
    d.execute_script('window.reproductor.cambia({paso: 321, mira: 1, zoom: 12, camara: "pista"})')
    limite = time.time() + 5
    while time.time() < limite and 'paso=321' not in d.current_url:
        time.sleep(0.05)
    if not d.current_url.endswith('#paso=321&jugador=1&zoom=12&camara=pista'):
        falla(f'la dirección no sigue al estado: {d.current_url}')
    # A click on a kart follows it.
    objetivo = d.execute_script('''
        const r = window.reproductor; r.dibuja();
        const e = r.encuadre, p = r.escena.posiciones, c = document.getElementById('lienzo');
        const escala = c.getBoundingClientRect().width / r.lienzo.ancho;
        const radio = Math.max(6, Math.ceil(2.5 * e.zoom));
        const lejos = (j) => [...Array(p.length / 2).keys()].every((k) => k === j ||
          Math.hypot(e.px(p[2 * k]) - e.px(p[2 * j]), e.py(p[2 * k + 1]) - e.py(p[2 * j + 1])) > 2 * radio);
        for (let j = 0; j < p.length / 2; j++) {
          const x = e.px(p[2 * j]), y = e.py(p[2 * j + 1]);
          if (j !== r.estado.mira && lejos(j) && x > 5 && y > 5 && x < r.lienzo.ancho - 5 && y < r.lienzo.alto - 5)
            return [j, x * escala - c.getBoundingClientRect().width / 2, y * escala - c.getBoundingClientRect().height / 2];
        }
        return null;''')
    if objetivo is None:
        falla('ningún otro kart a la vista para el clic')
    else:
        ActionChains(d).move_to_element_with_offset(lienzo, objetivo[1], objetivo[2]).click().perform()
        if (estado(d)['mira'], estado(d)['camara']) != (objetivo[0], 'seguir'):
            falla(f'el clic en el kart {objetivo[0]} no lo sigue: {estado(d)}')
    abre(d, pagina, '#paso=5&compacto=1')
    if d.find_element(By.ID, 'panel').is_displayed() or not d.find_element(By.ID, 'linea').is_displayed():
        falla('compacto=1 no deja solo la pista y la línea de tiempo')


def escribe(carpeta, nombre, texto):
    ruta = os.path.join(carpeta, nombre)
    with open(ruta, 'w', encoding='utf-8') as f:
        f.write(texto)
    return ruta


def tabla(d, selector):
    return [[c.text for c in fila.find_elements(By.TAG_NAME, 'td')]
            for fila in d.find_elements(By.CSS_SELECTOR, selector + ' tbody tr')]


def sitio(d, carpeta):
    """Players matched by name; equal points split by wins, then seconds;
    players equal on everything share a position."""
    mapa = escribe(carpeta, 'mapa.txt', '2 3\n0 1 2\n3 5 4\n')
    # The first of each pair finishes with more laps.
    carreras = [('X', 'Y'), ('Z', 'Y'), ('W', 'V'), ('V', 'W')]
    archivos = []
    for k, (a, b) in enumerate(carreras):
        archivos += [escribe(carpeta, f'c{k}.txt', f'2 {a} {b}\np 1 1 0 1 p 2 1 0 0\n'), mapa]
    web = os.path.join(carpeta, 'sitio')
    subprocess.run([VISOR, '--sitio', web, '--titulo', 'Liga <de> prueba', '--puntos', '2,1'] + archivos,
                   check=True)
    d.get('file://' + os.path.join(web, 'index.html'))
    primera = d.find_element(By.TAG_NAME, 'table').get_attribute('id')
    filas = [f[:3] for f in tabla(d, '#concurso')]
    esperado = [['1', 'V', '3'], ['1', 'W', '3'], ['3', 'X', '2'], ['3', 'Z', '2'], ['5', 'Y', '2']]
    if primera != 'concurso' or filas != esperado:
        falla(f'clasificación del concurso: {filas} (primera tabla {primera}), no {esperado}')
    if d.find_element(By.TAG_NAME, 'h1').text != 'Liga <de> prueba':
        falla('el título del sitio no se escribe tal cual')
    # Each race's results link to its replay, and the replay back to the index.
    d.find_elements(By.LINK_TEXT, 'Ver la repetición')[1].click()
    if not lista(d) or '/carrera-2.html#' not in d.current_url:
        falla(f'el enlace a la repetición lleva a {d.current_url}')
    d.find_element(By.ID, 'volver').click()
    if not d.current_url.endswith('index.html'):
        falla(f'la repetición no vuelve al índice: {d.current_url}')
    # A folder the viewer did not write is never replaced.
    ajena = os.path.join(carpeta, 'ajena')
    os.mkdir(ajena)
    escribe(ajena, 'tesis.txt', 'no tocar')
    r = subprocess.run([VISOR, '--sitio', ajena] + archivos[:2], capture_output=True, text=True)
    if r.returncode != 1 or os.listdir(ajena) != ['tesis.txt'] or 'no es un sitio' not in r.stderr:
        falla(f'una carpeta ajena: estado {r.returncode}, {os.listdir(ajena)}, «{r.stderr}»')
    # A site is rewritten whole; nothing of the old one or of the work is left.
    subprocess.run([VISOR, '--sitio', web] + archivos[:2], check=True)
    if sorted(os.listdir(web)) != ['.sitio-zulkarts', 'carrera-1.html', 'index.html'] or \
            [n for n in os.listdir(carpeta) if 'zulsitio' in n]:
        falla(f'al reescribir el sitio quedan {os.listdir(web)} y {os.listdir(carpeta)}')


def solo_archivos_locales(d):
    vistas = 0
    for entrada in d.get_log('performance'):
        mensaje = json.loads(entrada['message'])['message']
        # The browser's own pages (its new tab) are not the page's requests.
        if mensaje.get('method') == 'Network.requestWillBeSent' and \
                mensaje['params'].get('documentURL', '').startswith('file:'):
            url = mensaje['params']['request']['url']
            vistas += 1
            if not (url.startswith('file:') or url.startswith('data:')):
                falla(f'la página pidió {url}')
    if vistas == 0:
        falla('el registro del navegador no muestra ni la carga de la página')
    for entrada in d.get_log('browser'):
        if entrada['level'] == 'SEVERE':
            falla(f'error en la consola: {entrada["message"]}')


def depuracion(d, carpeta):
    """The bots' debug layer: the notes of the followed player, the drawings
    on the overlay, and B hiding them."""
    dep = os.path.join(carpeta, 'bot.dep')
    with open(dep, 'w', encoding='utf-8') as f:
        f.write('zul-depuracion 1\n')
        for t in range(5):
            f.write(f'turno {t} id 0 m 1 0\nlinea 0 10 60 10 ff0000\nnota nota {t}\nfin\n')
    pagina = os.path.join(carpeta, 'depuracion.html')
    subprocess.run([VISOR, '--html', pagina, '--depuracion', dep, CARRERA, MAPA], check=True)
    if not abre(d, pagina, '#paso=3&jugador=0&camara=pista'):
        falla('la página con depuración no muestra la carrera')
        return
    rojos = '''
        const r = window.reproductor;
        r.dibuja();
        const c = document.getElementById('textos');
        const a = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
        let n = 0;
        for (let i = 0; i < a.length; i += 4) n += a[i] > 200 && a[i + 1] < 60 && a[i + 3] > 60;
        return [n, document.getElementById('listaNotas').textContent];'''
    n, notas = d.execute_script(rojos)
    if n == 0 or notas != 'nota 3':
        falla(f'depuración: {n} píxeles rojos y notas «{notas}»')
    d.find_element(By.ID, 'lienzo').send_keys('b')
    n, _ = d.execute_script(rojos)
    if n != 0 or d.find_element(By.ID, 'verDepuracion').is_selected():
        falla(f'depuración: la tecla B no la oculta ({n} píxeles rojos)')


def main():
    carpeta = tempfile.mkdtemp(prefix='zulweb-')
    d = None
    try:
        pagina = os.path.join(carpeta, 'carrera.html')
        subprocess.run([VISOR, '--html', pagina, CARRERA, MAPA], check=True)
        d = navegador(os.path.join(carpeta, 'perfil'))
        if not abre(d, pagina):
            falla('la página no muestra la carrera')
        else:
            paridad(d, carpeta)
            enlaces_y_teclas(d, pagina)
        depuracion(d, carpeta)
        sitio(d, carpeta)
        solo_archivos_locales(d)
    finally:
        if d is not None:
            d.quit()
        shutil.rmtree(carpeta, ignore_errors=True)
    print(f'{len(fallos)} fallos')
    return 1 if fallos else 0


if __name__ == '__main__':
    sys.exit(main())
