// The bots' debug layer on the page, as the viewer's window draws it: per
// turn, each bot's lines, circles and texts, its command as a white arrow
// from its kart and a red ring when it asked for a shot; and its notes.
//
// The data (visor/web/depuracion_pagina.cpp): { desfase, archivos: [{ id,
// turnos: [[disparo, ordenX, ordenY, dibujos, notas]] }] }, a drawing being
// [0, color, x1, y1, x2, y2], [1, color, x, y, radio] or [2, color, x, y,
// texto]; a number that is not finite is null.
import { radioDisco, recortaSegmento } from './pintor.js';

const LEJOS_DEPURACION = 1e6;

// The turns drawn over `frame`: { id, turno } for each file that has one.
export function turnosDe(depuracion, frame) {
  if (!depuracion) return [];
  const t = frame - depuracion.desfase;
  const hallados = [];
  for (const a of depuracion.archivos) {
    if (t >= 0 && t < a.turnos.length) hallados.push({ id: a.id, turno: a.turnos[t] });
  }
  return hallados;
}

// The notes of `jugador`'s bot over `frame`, in its files' order.
export function notasDe(depuracion, frame, jugador) {
  return turnosDe(depuracion, frame).filter((h) => h.id === jugador).flatMap((h) => h.turno[4]);
}

// The followed player's notes over `frame`, in the page's "Notas" list.
export function muestraNotas(depuracion, frame, jugador, titulo, lista) {
  titulo.textContent = `Notas del jugador ${jugador}, paso ${frame}`;
  lista.replaceChildren(...notasDe(depuracion, frame, jugador).map((nota) => {
    const li = document.createElement('li');
    li.textContent = nota;
    return li;
  }));
}

const finitos = (...v) => v.every((x) => typeof x === 'number' && Number.isFinite(x));
const colorDepuracion = (c) => `#${(c >>> 0).toString(16).padStart(6, '0')}`;

function trazoDepuracion(ctx, ax, ay, bx, by, ancho, alto) {
  const c = recortaSegmento(ax, ay, bx, by, ancho, alto);
  if (!c) return;
  ctx.beginPath();
  ctx.moveTo(c[0], c[1]);
  ctx.lineTo(c[2], c[3]);
  ctx.stroke();
}

// Draws `turnos` (turnosDe) on a 2D context framed by `e` (pintor.js), over
// the karts of `escena`.
export function pintaDepuracion(ctx, e, escena, turnos) {
  const { ancho, alto } = escena;
  const z = e.zoom;
  const cerca = (x, y, margen) => finitos(x, y) && x > -margen && y > -margen && x < ancho + margen && y < alto + margen;
  ctx.save();
  ctx.font = `${Math.min(Math.max(Math.trunc(z * 0.8), 10), 24)}px sans-serif`;
  ctx.textBaseline = 'alphabetic';
  for (const { id, turno } of turnos) {
    const [disparo, ox, oy, dibujos] = turno;
    ctx.lineWidth = 1;
    for (const d of dibujos) {
      ctx.strokeStyle = ctx.fillStyle = colorDepuracion(d[1]);
      if (!finitos(d[2], d[3])) continue;
      const x = e.px(d[2]), y = e.py(d[3]);
      if (d[0] === 0 && finitos(d[4], d[5])) {
        trazoDepuracion(ctx, x, y, e.px(d[4]), e.py(d[5]), ancho, alto);
      } else if (d[0] === 1 && finitos(d[4])) {
        const r = Math.abs(d[4]) * z;
        if (r < LEJOS_DEPURACION && cerca(x, y, r)) { ctx.beginPath(); ctx.arc(x, y, r, 0, 2 * Math.PI); ctx.stroke(); }
      } else if (d[0] === 2 && cerca(x, y, LEJOS_DEPURACION / 1000)) {
        ctx.fillText(d[4], x, y);
      }
    }
    if (id < 0 || id >= escena.posiciones.length / 2) continue;
    const kx = e.px(escena.posiciones[2 * id]), ky = e.py(escena.posiciones[2 * id + 1]);
    if (!finitos(kx, ky)) continue;
    if (disparo && cerca(kx, ky, 100)) {
      ctx.strokeStyle = 'rgb(255,60,60)';
      ctx.lineWidth = 3;
      ctx.beginPath();
      ctx.arc(kx, ky, Math.max(radioDisco(z) + 4, 10), 0, 2 * Math.PI);
      ctx.stroke();
    }
    if (!finitos(ox, oy)) continue;
    // Force 1 reaches one cell past the disc's edge.
    const escala = radioDisco(z) + z;
    const px = kx + ox * escala, py = ky + oy * escala;
    ctx.strokeStyle = '#fff';
    ctx.lineWidth = 2;
    trazoDepuracion(ctx, kx, ky, px, py, ancho, alto);
    const largo = Math.hypot(px - kx, py - ky);
    if (largo < 2) continue;
    const barba = Math.min(Math.max(z * 0.4, 4), 12);
    const angulo = Math.atan2(ky - py, kx - px);
    for (const giro of [0.4363, -0.4363]) { // 25 degrees
      trazoDepuracion(ctx, px, py, px + barba * Math.cos(angulo + giro), py + barba * Math.sin(angulo + giro), ancho, alto);
    }
  }
  ctx.restore();
}
