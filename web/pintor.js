// The track picture, by the scene painter's rules: black; the track as blocks
// below zoom 7 and as arrow tiles from it; the trails; each kart's disc in
// its colour with its black heading line; the shots as yellow lines. The
// camera decides the framing. Names are drawn apart, as text over it.
import { Lienzo } from './rasterizado.js';
import { primerDisparoDesde, registroDe } from './decodificacion.js';

export const ZOOM_FLECHAS = 7;
export const LARGO_ESTELA = 30;
const LARGO_MAXIMO = 65536;
const LEJOS_MAXIMO = 1e12;
const MURO = 53; // '5'
const NEGRO = Lienzo.pixel([0, 0, 0]);
const PISTA = Lienzo.pixel([108, 81, 81]);
const AMARILLO = Lienzo.pixel([255, 255, 0]);

// The tile each cell draws from the arrow zoom on: 0, 1, 2, 3 point down,
// right, up, left; the tiles are kept as up, down, left, right.
export function baldosaDe(celda) {
  switch (celda) {
    case 48: return 1;
    case 49: return 3;
    case 50: return 0;
    case 51: return 2;
    default: return -1;
  }
}

export function anclaVista(ancho, alto) { return Math.min(ancho, alto) * 0.5; }

export function radioDisco(zoom) {
  const m = 2.5 * zoom;
  return m > 6 ? Math.min(Math.ceil(m), LARGO_MAXIMO) : 6;
}

export function largoRumbo(zoom) {
  const m = 2.5 * zoom;
  return m > 6 ? Math.min(m, LARGO_MAXIMO) : 6;
}

export class Encuadre {
  constructor(ancla, zoom, cx, cy) { this.ancla = ancla; this.zoom = zoom; this.cx = cx; this.cy = cy; }
  X(j) { return this.ancla + (j - this.cx) * this.zoom; }
  Y(i) { return this.ancla + (i - this.cy) * this.zoom; }
  px(x) { return this.ancla + (x - this.cx) * this.zoom; }
  py(y) { return this.ancla + (y - this.cy) * this.zoom; }
  // The map point drawn at a pixel.
  aMapa(x, y) {
    return [this.cx + (x - this.ancla) / this.zoom, this.cy + (y - this.ancla) / this.zoom];
  }
}

// The followed position; the middle of the map when there is none.
function eligeCentro(pos, mira, filas, columnas) {
  if (pos && mira >= 0 && mira < pos.length / 2 && Number.isFinite(pos[2 * mira]) &&
      Number.isFinite(pos[2 * mira + 1])) {
    return [pos[2 * mira], pos[2 * mira + 1]];
  }
  if (filas > 0 && columnas > 0) return [columnas * 0.5, filas * 0.5];
  return [0, 0];
}

function conPuntoEn(ancho, alto, zoom, px, py, pixX, pixY) {
  const e = new Encuadre(anclaVista(ancho, alto), zoom, px, py);
  if (zoom > 0 && Number.isFinite(zoom)) {
    e.cx = px - (pixX - e.ancla) / zoom;
    e.cy = py - (pixY - e.ancla) / zoom;
  }
  return e;
}

// The player the camera keeps in view, or -1.
export function seguidoEnCamara(escena) {
  if (escena.camara === 'pista') return -1;
  let j = escena.mira;
  if (escena.camara === 'director' && escena.lider >= 0) j = escena.lider;
  return j >= 0 && j < escena.posiciones.length / 2 ? j : -1;
}

export function encuadreDe(escena) {
  const { ancho, alto, filas, columnas } = escena;
  const mx = ancho * 0.5, my = alto * 0.5;
  if (escena.camara === 'pista' && filas > 0 && columnas > 0 && ancho > 0 && alto > 0) {
    const zoom = Math.min(Math.max(Math.min(ancho / columnas, alto / filas), 1e-6), 50);
    return conPuntoEn(ancho, alto, zoom, columnas * 0.5, filas * 0.5, mx, my);
  }
  if (escena.camara === 'centrado') {
    const [x, y] = eligeCentro(escena.posiciones, escena.mira, filas, columnas);
    return conPuntoEn(ancho, alto, escena.zoom, x, y, mx, my);
  }
  const j = escena.camara === 'pista' ? -1 : seguidoEnCamara(escena);
  const [x, y] = eligeCentro(escena.posiciones, j < 0 ? escena.mira : j, filas, columnas);
  return new Encuadre(anclaVista(ancho, alto), escena.zoom, x, y);
}

// Rows (or columns) worth examining: from the first whose edge lies no more
// than two cells before the view to one past the last whose edge lies less
// than one cell past its far side.
export function rangoVisible(ancla, centro, zoom, cuantas, limite) {
  if (cuantas <= 0 || !(zoom > 0) || !Number.isFinite(zoom)) return [0, 0];
  const borde = (k) => ancla + (k - centro) * zoom;
  const primera = (cumple) => {
    let bajo = 0, alto = cuantas;
    while (bajo < alto) {
      const medio = bajo + ((alto - bajo) >> 1);
      if (cumple(medio)) alto = medio; else bajo = medio + 1;
    }
    return bajo;
  };
  return [primera((k) => borde(k) + 2 * zoom >= 0), primera((k) => !(borde(k) - zoom < limite))];
}

function entre(v, a, b) { return Math.min(Math.max(v, a), b); }

function pintaBloques(l, escena, e, filas, columnas) {
  const { ancho, alto, celdas } = escena;
  const w = escena.columnas;
  const anchoVista = ancho + 1, altoVista = alto + 1;
  const zoomArriba = Math.ceil(e.zoom);
  for (let i = filas[0]; i < filas[1]; i++) {
    const arriba = entre(e.Y(i), -1, altoVista);
    const abajo = entre(e.Y(i) + zoomArriba, -1, altoVista);
    if (!(abajo > arriba)) continue;
    const base = i * w;
    let hay = false, px = 0, pw = 0;
    let j = columnas[0];
    while (j < columnas[1]) {
      while (j < columnas[1] && celdas[base + j] === MURO) j++;
      if (j === columnas[1]) break;
      const inicio = j;
      while (j < columnas[1] && celdas[base + j] !== MURO) j++;
      const izquierda = entre(e.X(inicio), -1, anchoVista);
      const derecha = entre(Math.ceil(e.X(j)), -1, anchoVista);
      if (!(derecha > izquierda)) continue;
      // Blocks that touch or overlap are one.
      if (hay && izquierda <= px + pw) {
        pw = Math.max(px + pw, derecha) - px;
        continue;
      }
      if (hay) l.rectangulo(px, arriba, pw, abajo - arriba, PISTA);
      px = izquierda; pw = derecha - izquierda; hay = true;
    }
    if (hay) l.rectangulo(px, arriba, pw, abajo - arriba, PISTA);
  }
}

function pintaFlechas(l, escena, e, filas, columnas, flechas) {
  if (!flechas) return;
  const lado = Math.trunc(e.zoom + 1);
  const juego = flechas.deLado(lado);
  if (!juego) return;
  const { ancho, alto, celdas } = escena;
  const w = escena.columnas;
  for (let i = filas[0]; i < filas[1]; i++) {
    const y = Math.trunc(e.Y(i));
    for (let j = columnas[0]; j < columnas[1]; j++) {
      const b = baldosaDe(celdas[i * w + j]);
      if (b < 0) continue;
      const t = juego[b];
      if (t.w === 0) continue;
      const x = Math.trunc(e.X(j));
      if (!(x < ancho && y < alto && x + t.w > 0 && y + t.h > 0)) continue;
      l.baldosa(flechas.pixeles, flechas.ancho, t.x, t.y, t.w, t.h, x, y);
    }
  }
}

function cercano(x, y) {
  return Number.isFinite(x) && Number.isFinite(y) && Math.abs(x) < LEJOS_MAXIMO &&
         Math.abs(y) < LEJOS_MAXIMO;
}

// Liang-Barsky, to the view widened by four pixels, as the painter cuts
// lines before drawing them; null when nothing is left.
export function recortaSegmento(ax, ay, bx, by, ancho, alto) {
  if (!cercano(ax, ay) || !cercano(bx, by)) return null;
  const dx = bx - ax, dy = by - ay;
  const izq = -4, arr = -4, der = -4 + (ancho + 8), aba = -4 + (alto + 8);
  let t0 = 0, t1 = 1;
  const p = [-dx, dx, -dy, dy];
  const q = [ax - izq, der - ax, ay - arr, aba - ay];
  for (let k = 0; k < 4; k++) {
    if (p[k] === 0) {
      if (q[k] < 0) return null;
      continue;
    }
    const t = q[k] / p[k];
    if (p[k] < 0) t0 = Math.max(t0, t); else t1 = Math.min(t1, t);
  }
  if (t0 > t1) return null;
  return [t0 > 0 ? ax + t0 * dx : ax, t0 > 0 ? ay + t0 * dy : ay,
          t1 < 1 ? ax + t1 * dx : bx, t1 < 1 ? ay + t1 * dy : by];
}

function linea(l, ax, ay, bx, by, pixel) {
  const c = recortaSegmento(ax, ay, bx, by, l.ancho, l.alto);
  if (c) l.linea(c[0], c[1], c[2], c[3], pixel);
}

// The scene of frame k of the race, for a view of ancho x alto.
export function escenaDe(carrera, k, vista) {
  const n = carrera.n;
  const posiciones = new Float64Array(2 * n);
  const angulos = new Float64Array(n);
  for (let j = 0; j < n; j++) {
    const i = registroDe(carrera, k, j);
    if (i >= 0) {
      posiciones[2 * j] = carrera.x[i]; posiciones[2 * j + 1] = carrera.y[i];
      angulos[j] = carrera.angulos[i];
    }
  }
  const primero = primerDisparoDesde(carrera, k);
  let fin = primero;
  while (fin < carrera.disparos && carrera.framesDisparos[fin] === k) fin++;
  return Object.assign({
    carrera, frame: k, posiciones, angulos, disparos: [primero, fin],
    filas: carrera.filas, columnas: carrera.columnas, celdas: carrera.celdas,
  }, vista);
}

// Draws a scene into the Lienzo; returns its framing.
export function pintaEscena(l, escena, flechas, colores) {
  l.limpia(NEGRO);
  const e = encuadreDe(escena);
  const filas = rangoVisible(e.ancla, e.cy, e.zoom, escena.filas, l.alto);
  const columnas = rangoVisible(e.ancla, e.cx, e.zoom, escena.columnas, l.ancho);
  if (filas[1] > filas[0] && columnas[1] > columnas[0] && escena.celdas.length > 0) {
    if (e.zoom < ZOOM_FLECHAS) pintaBloques(l, escena, e, filas, columnas);
    else pintaFlechas(l, escena, e, filas, columnas, flechas);
  }
  const carrera = escena.carrera;
  const n = carrera.n;
  if (escena.estelas && n > 0 && escena.frame >= 0 && escena.frame * n < carrera.registros) {
    // The records of the last frames up to this one, as the race holds them.
    const f = escena.frame;
    const fin = Math.min((f + 1) * n, carrera.registros);
    const desde = Math.max(f - (LARGO_ESTELA - 1), 0) * n;
    for (let j = 0; j < n; j++) {
      const pixel = colores[j];
      for (let i = desde + j + n; i < fin; i += n) {
        linea(l, e.px(carrera.x[i - n]), e.py(carrera.y[i - n]), e.px(carrera.x[i]),
              e.py(carrera.y[i]), pixel);
      }
    }
  }
  const radio = radioDisco(e.zoom), largo = largoRumbo(e.zoom);
  for (let j = 0; j < n; j++) {
    const x = e.px(escena.posiciones[2 * j]), y = e.py(escena.posiciones[2 * j + 1]);
    if (x >= 0 && x < l.ancho && y >= 0 && y < l.alto) l.disco(x, y, radio, colores[j]);
    const a = escena.angulos[j];
    linea(l, x, y, x + Math.cos(a) * largo, y + Math.sin(a) * largo, NEGRO);
  }
  for (let d = escena.disparos[0]; d < escena.disparos[1]; d++) {
    linea(l, e.px(carrera.disparoX1[d]), e.py(carrera.disparoY1[d]), e.px(carrera.disparoX2[d]),
          e.py(carrera.disparoY2[d]), AMARILLO);
  }
  return e;
}

// The arrow tiles of every side, from the sheet the program embeds.
export class Flechas {
  constructor(pixeles, ancho, ladoMinimo, medidas) {
    this.pixeles = pixeles;
    this.ancho = ancho;
    this.juegos = new Map();
    let y = 0;
    medidas.forEach((tiles, k) => {
      const lado = ladoMinimo + k;
      this.juegos.set(lado, tiles.map(([w, h], d) => ({ x: d * lado, y, w, h })));
      y += lado;
    });
  }
  deLado(lado) { return this.juegos.get(lado) || null; }
}
