// The page's decoding and standings against the C++ reader and analysis:
// every double bit for bit, the laps, the shots' frames, the cells, and the
// standings of every complete frame. ZUL_VOLCADO names the dumping program,
// ZUL_EJEMPLOS the sample race's folder.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { deBase64, inflar, decodificaCarrera } from '../../web/decodificacion.js';
import { analizaCarrera, clasificacion, textoDiferencia } from '../../web/clasificacion.js';

const volcado = process.env.ZUL_VOLCADO;
const ejemplos = process.env.ZUL_EJEMPLOS;
const carpeta = fs.mkdtempSync(path.join(os.tmpdir(), 'zulweb-'));
process.on('exit', () => fs.rmSync(carpeta, { recursive: true, force: true }));

function escribe(nombre, texto) {
  const ruta = path.join(carpeta, nombre);
  fs.writeFileSync(ruta, texto);
  return ruta;
}

const mapaPequeno = escribe('mapa.txt', '2 3\n0 1 2\n3 5 12\n');

// 1000 players, three frames, every kind of number: long decimals, -0,
// nan, huge values, laps that jump and go down.
function carreraGrande() {
  const n = 1000;
  let t = `${n} ${Array.from({ length: n }, (_, j) => `j${j}`).join(' ')}\n`;
  for (let k = 0; k < 3; k++) {
    for (let j = 0; j < n; j++) {
      const x = j % 7 === 0 ? '-0.0' : j % 11 === 0 ? 'nan' : (j * 0.123456789 + k).toFixed(9);
      const y = j % 13 === 0 ? '1e300' : (j / 3 + k * 0.5).toString();
      t += `p ${x} ${y} ${((j % 628) / 100 - 3.14).toFixed(4)} ${k === 2 && j % 5 === 0 ? 0 : k * (j % 3)}\n`;
    }
    t += `s ${k} ${k + 0.5} 3.25 -4.125\n`;
  }
  return t;
}

const casos = [
  ['la carrera de ejemplo', () => [path.join(ejemplos, 'carrera.txt'), path.join(ejemplos, 'mapa.txt')]],
  ['un último paso a medias', () => [escribe('medias.txt', '3 a b c\np 1.5 2.5 0 0 p 2 2 1 0 s 1 1 2 2 p 3 3 2 0\np 1.6 2.5 0 1 p 2.25 2 1 0\n'), mapaPequeno]],
  ['1000 jugadores', () => [escribe('grande.txt', carreraGrande()), mapaPequeno]],
  ['sin disparos', () => [escribe('sin.txt', '2 alfa beta\np 1.5 2.5 0 0 p 4 4 1.57 0 p 1.6 2.5 0 0 p 4 4.1 1.57 1\n'), mapaPequeno]],
];

const bits = (v) => {
  const d = new DataView(new ArrayBuffer(8));
  d.setFloat64(0, v, true);
  return d.getBigUint64(0, true).toString(16).padStart(16, '0');
};

for (const [nombre, archivos] of casos) {
  test(nombre, async () => {
    const esperado = JSON.parse(execFileSync(volcado, archivos(), { maxBuffer: 1 << 28 }).toString());
    const c = decodificaCarrera(await inflar(deBase64(esperado.bloque)));
    assert.equal(c.n, esperado.n);
    assert.equal(c.filas, esperado.filas);
    assert.equal(c.columnas, esperado.columnas);
    for (const campo of ['x', 'y', 'angulos', 'disparoX1', 'disparoY1', 'disparoX2', 'disparoY2']) {
      assert.deepEqual(Array.from(c[campo], bits), esperado[campo], campo);
    }
    assert.deepEqual(Array.from(c.vueltas), esperado.vueltas);
    assert.deepEqual(Array.from(c.framesDisparos), esperado.framesDisparos);
    assert.deepEqual(Buffer.from(c.celdas).toString('base64'), esperado.celdas);
    const analisis = analizaCarrera(c);
    assert.equal(analisis.frames, esperado.clasificacion.length);
    esperado.clasificacion.forEach((filas, f) => {
      const mias = clasificacion(analisis, f).map((p) =>
        [p.jugador, p.vueltas, p.paso, p.ultimaVuelta ?? -1, p.mejorVuelta ?? -1]);
      assert.deepEqual(mias, filas.map((p) => p.slice(0, 5)), `paso ${f}`);
      const huecos = clasificacion(analisis, f).map((p) => p.diferenciaPasos ?? -p.diferenciaVueltas);
      assert.deepEqual(huecos, filas.map((p) => p[5]), `diferencias del paso ${f}`);
    });
    if (nombre === 'la carrera de ejemplo') {
      // The track's order is the one shown: inside a lap it parts from the
      // page's own rule by laps.
      const porVueltas = { ...analisis, progreso: null };
      assert.ok(esperado.clasificacion.some((filas, f) =>
        clasificacion(porVueltas, f).some((p, i) => p.jugador !== filas[i][0])));
    }
  });
}

test('diferencias con el líder', () => {
  const filas = [
    [{ posicion: 1, diferenciaPasos: 0, diferenciaVueltas: 0 }, 'Líder'],
    [{ posicion: 2, diferenciaPasos: 1, diferenciaVueltas: 0 }, '+1 paso'],
    [{ posicion: 2, diferenciaPasos: 9, diferenciaVueltas: 0 }, '+9 pasos'],
    [{ posicion: 3, diferenciaPasos: null, diferenciaVueltas: 1 }, '+1 vuelta'],
    [{ posicion: 4, diferenciaPasos: null, diferenciaVueltas: 3 }, '+3 vueltas'],
  ];
  for (const [p, texto] of filas) assert.equal(textoDiferencia(p), texto);
});

test('datos truncados o ajenos se rechazan', () => {
  assert.throws(() => decodificaCarrera(new Uint8Array([90, 85, 76, 87, 1, 0, 0, 0, 5])), /truncados/);
  assert.throws(() => decodificaCarrera(new Uint8Array([90, 85, 76, 87, 3, 0, 0, 0])), /no válidos/);
  assert.throws(() => decodificaCarrera(new TextEncoder().encode('ZULX\u0001\u0000\u0000\u0000')), /no válidos/);
});
