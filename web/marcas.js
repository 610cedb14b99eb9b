// The timeline's events: the steps with shots and the laps completed, to
// jump to and to mark over the timeline.
import { eventosVueltas } from './clasificacion.js';

export function eventosDe(c, analisis) {
  const eventos = [];
  let anterior = -1;
  for (let d = 0; d < c.disparos; d++) {
    const f = c.framesDisparos[d];
    if (f !== anterior) eventos.push({ frame: f, tipo: 'disparo', disparo: d });
    anterior = f;
  }
  for (const v of eventosVueltas(analisis)) eventos.push({ frame: v.frame, tipo: 'vuelta', jugador: v.jugador });
  eventos.sort((a, b) => a.frame - b.frame);
  return eventos;
}

// Shots above, in grey; completed laps below, in the player's colour.
export function pintaMarcas(c, eventos, frames, meta) {
  const r = c.getBoundingClientRect();
  c.width = Math.max(1, Math.round(r.width));
  c.height = Math.max(1, Math.round(r.height));
  const ctx = c.getContext('2d');
  const x = (f) => 8 + (c.width - 16) * (frames > 1 ? f / (frames - 1) : 0);
  for (const e of eventos) {
    if (e.tipo === 'disparo') {
      ctx.fillStyle = meta.marcaDisparo;
      ctx.fillRect(Math.round(x(e.frame)), 0, 2, c.height * 0.3);
    } else {
      ctx.fillStyle = meta.etiquetas[e.jugador];
      ctx.fillRect(Math.round(x(e.frame)) - 1, c.height * 0.7, 3, c.height * 0.3);
    }
  }
}
