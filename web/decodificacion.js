// The race and the map as visor --html embeds them: base64 of a zlib stream
// of one little-endian block (see visor/web/datos_pagina.h for the layout).

const POTENCIAS = [1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9];

export function deBase64(texto) {
  // The browser's own decoder where it has one (it skips white space too).
  if (typeof Uint8Array.fromBase64 === 'function') return Uint8Array.fromBase64(texto);
  const binario = atob(texto.replace(/\s+/g, ''));
  const bytes = new Uint8Array(binario.length);
  for (let i = 0; i < binario.length; i++) bytes[i] = binario.charCodeAt(i);
  return bytes;
}

// Inflates with the browser's own zlib.
export async function inflar(bytes) {
  const flujo = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('deflate'));
  return new Uint8Array(await new Response(flujo).arrayBuffer());
}

class Lector {
  constructor(bytes) {
    this.bytes = bytes;
    this.vista = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
    this.pos = 0;
  }
  necesita(n) {
    if (this.pos + n > this.bytes.length) throw new Error('datos de la carrera truncados');
  }
  u8() { this.necesita(1); return this.bytes[this.pos++]; }
  u32() { this.necesita(4); const v = this.vista.getUint32(this.pos, true); this.pos += 4; return v; }
  f64() { this.necesita(8); const v = this.vista.getFloat64(this.pos, true); this.pos += 8; return v; }
  // Words written byte plane by byte plane, as signed 32-bit integers.
  planos(cuantos) {
    this.necesita(4 * cuantos);
    const b = this.bytes, p = this.pos;
    const r = new Int32Array(cuantos);
    for (let i = 0; i < cuantos; i++) {
      r[i] = b[p + i] | (b[p + cuantos + i] << 8) | (b[p + 2 * cuantos + i] << 16) |
             (b[p + 3 * cuantos + i] << 24);
    }
    this.pos += 4 * cuantos;
    return r;
  }
  // Whole numbers that were told apart from the one `salto` places before.
  enteros(cuantos, salto) {
    const r = this.planos(cuantos);
    for (let i = salto; i < cuantos; i++) r[i] = (r[i] + r[i - salto]) | 0;
    return r;
  }
  columna(cuantos, salto) {
    const d = this.u8();
    if (d >= POTENCIAS.length) throw new Error('datos de la carrera no válidos');
    const excepciones = this.u32();
    const k = this.enteros(cuantos, salto);
    const r = new Float64Array(cuantos);
    const potencia = POTENCIAS[d];
    for (let i = 0; i < cuantos; i++) r[i] = k[i] / potencia;
    const indices = new Uint32Array(excepciones);
    for (let e = 0; e < excepciones; e++) indices[e] = this.u32();
    for (let e = 0; e < excepciones; e++) {
      const v = this.f64();
      if (indices[e] >= cuantos) throw new Error('datos de la carrera no válidos');
      r[indices[e]] = v;
    }
    return r;
  }
}

// The race as typed arrays: record j of frame k at k * n + j.
export function decodificaCarrera(bytes) {
  const l = new Lector(bytes);
  const magia = String.fromCharCode(l.u8(), l.u8(), l.u8(), l.u8());
  const version = magia === 'ZULW' ? l.u32() : 0;
  if (version !== 1 && version !== 2) throw new Error('datos de la carrera no válidos');
  const n = l.u32(), registros = l.u32(), disparos = l.u32();
  const filas = l.u32() | 0, columnas = l.u32() | 0;
  const salto = Math.max(n, 1);
  const c = { n, registros, disparos, filas, columnas };
  c.x = l.columna(registros, salto);
  c.y = l.columna(registros, salto);
  c.angulos = l.columna(registros, salto);
  c.disparoX1 = l.columna(disparos, 1);
  c.disparoY1 = l.columna(disparos, 1);
  c.disparoX2 = l.columna(disparos, 1);
  c.disparoY2 = l.columna(disparos, 1);
  c.vueltas = l.enteros(registros, salto);
  c.framesDisparos = l.enteros(disparos, 1);
  const celdas = Math.max(filas, 0) * Math.max(columnas, 0);
  l.necesita(celdas);
  c.celdas = bytes.slice(l.pos, l.pos + celdas);
  l.pos += celdas;
  // The viewer's standings by progress round the track, where it has them:
  // the players of each complete frame best first, and their gaps.
  c.framesOrden = version >= 2 ? l.u32() : 0;
  if (c.framesOrden > 0) {
    if (n === 0 || c.framesOrden > Math.floor(registros / n)) throw new Error('datos de la carrera no válidos');
    c.orden = l.enteros(c.framesOrden * n, n);
    c.diferencias = l.enteros(c.framesOrden * n, n);
    if (c.orden.some((j) => j < 0 || j >= n)) throw new Error('datos de la carrera no válidos');
  }
  c.completos = n > 0 ? Math.floor(registros / n) : 0;
  c.frames = c.completos + (n > 0 && registros % n !== 0 ? 1 : 0);
  return c;
}

// The index of the first shot of frame k or a later one.
export function primerDisparoDesde(carrera, k) {
  let bajo = 0, alto = carrera.disparos;
  const f = carrera.framesDisparos;
  while (bajo < alto) {
    const medio = (bajo + alto) >> 1;
    if (f[medio] < k) bajo = medio + 1; else alto = medio;
  }
  return bajo;
}

// Where player j stands in frame k: a partial last frame leaves its
// missing players where the frame before left them. -1: nowhere.
export function registroDe(carrera, k, j) {
  const n = carrera.n;
  if (k < 0 || n === 0 || k * n >= carrera.registros) return -1;
  let i = k * n + j;
  if (i >= carrera.registros) {
    if (k === 0) return -1;
    i -= n;
  }
  return i;
}
