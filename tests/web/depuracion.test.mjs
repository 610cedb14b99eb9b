// The page's debug layer: a debug file through `visor --html --depuracion`,
// decoded as the page does it, and drawn as the window draws it. ZUL_VISOR
// names the program, ZUL_EJEMPLOS the sample race's folder.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { deBase64, inflar } from '../../web/decodificacion.js';
import { turnosDe, notasDe, pintaDepuracion } from '../../web/depuracion.js';
import { Encuadre, radioDisco } from '../../web/pintor.js';

const carpeta = fs.mkdtempSync(path.join(os.tmpdir(), 'zuldep-'));
process.on('exit', () => fs.rmSync(carpeta, { recursive: true, force: true }));
const ejemplos = process.env.ZUL_EJEMPLOS;

function pagina(depuracion, ...opciones) {
  const dep = path.join(carpeta, 'bot.dep');
  fs.writeFileSync(dep, depuracion);
  const salida = path.join(carpeta, 'p.html');
  const r = spawnSync(process.env.ZUL_VISOR, ['--html', salida, '--depuracion', dep, ...opciones,
    path.join(ejemplos, 'carrera.txt'), path.join(ejemplos, 'mapa.txt')],
  { env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' } });
  return { estado: r.status, errores: r.stderr.toString(), html: r.status === 0 ? fs.readFileSync(salida, 'utf8') : '' };
}

async function datosDe(html) {
  const m = html.match(/<script id="depuracion" type="text\/plain">([^<]*)<\/script>/);
  return JSON.parse(new TextDecoder().decode(await inflar(deBase64(m[1]))));
}

test('la página lleva los dibujos y las notas, con el desfase', async () => {
  const r = pagina('zul-depuracion 1\nturno 0 id 3 m 1 0\nlinea 1 2 nan 4 ff0000\n' +
    'texto 3 4 00ff00 a\\nb </script> ñ\nnota uno\nnota dos\nfin\n' +
    'turno 1 id 3 s 0.5 -0.25\ncirculo 30 9 0.5 0000ff\nfin\n', '--desfase', '2');
  assert.equal(r.estado, 0, r.errores);
  const dep = await datosDe(r.html);
  const filas = [
    // paso, jugador, turnos dibujados, notas
    [1, 3, [], []],
    [2, 3, [{ id: 3, turno: [0, 1, 0, [[0, 0xff0000, 1, 2, null, 4], [2, 0x00ff00, 3, 4, 'a\nb </script> ñ']], ['uno', 'dos']] }], ['uno', 'dos']],
    [2, 0, null, []],
    [3, 3, [{ id: 3, turno: [1, 0.5, -0.25, [[1, 0x0000ff, 30, 9, 0.5]], []] }], []],
    [4, 3, [], []],
  ];
  for (const [paso, jugador, turnos, notas] of filas) {
    if (turnos) assert.deepEqual(turnosDe(dep, paso), turnos, `paso ${paso}`);
    assert.deepEqual(notasDe(dep, paso, jugador), notas, `paso ${paso}, jugador ${jugador}`);
  }
});

test('un archivo de otra carrera se rechaza por su nombre', () => {
  const r = pagina('zul-depuracion 1\nturno 0 id 7 m 1 0\nfin\n');
  assert.equal(r.estado, 1);
  assert.match(r.errores, /bot\.dep: es del jugador 7/);
});

// A context that records what is drawn.
function contexto() {
  const c = { trazos: [], arcos: [], textos: [], save() {}, restore() {}, beginPath() {},
    stroke() {}, moveTo(x, y) { this.desde = [x, y]; },
    lineTo(x, y) { this.trazos.push([...this.desde, x, y, this.strokeStyle]); },
    arc(x, y, r) { this.arcos.push([x, y, r, this.strokeStyle]); },
    fillText(t, x, y) { this.textos.push([t, x, y]); } };
  return c;
}

test('se pinta como en la ventana', () => {
  const ctx = contexto();
  const escena = { ancho: 100, alto: 100, posiciones: [5, 5] };
  const turno = [1, 1, 0, [[0, 0xff0000, 1, 1, 3, 1], [1, 0x0000ff, 2, 2, 0.5],
    [0, 0xff0000, null, 1, 3, 1], [2, 0x00ff00, 1, 9, 'hola']], []];
  pintaDepuracion(ctx, new Encuadre(0, 10, 0, 0), escena, [{ id: 0, turno }]);
  const punta = 50 + radioDisco(10) + 10;
  assert.deepEqual(ctx.trazos[0], [10, 10, 30, 10, '#ff0000']);
  assert.deepEqual(ctx.trazos[1], [50, 50, punta, 50, '#fff']); // the command, then its barbs
  assert.equal(ctx.trazos.length, 4);
  assert.deepEqual(ctx.arcos, [[20, 20, 5, '#0000ff'], [50, 50, Math.max(radioDisco(10) + 4, 10), 'rgb(255,60,60)']]);
  assert.deepEqual(ctx.textos, [['hola', 10, 90]]);
});
