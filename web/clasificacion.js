// Standings, lap times and gaps from the laps of every complete frame, by
// the same rules as the viewer's window:
//  - a lap is completed when the count passes the highest held so far (a
//    jump of n completes n; only the first of them has a time);
//  - laps that go down change `paso` but complete nothing;
//  - `paso`: the last frame up to k where the player's laps changed;
//  - order: more laps, then smaller `paso`, then smaller index;
//  - a partial last frame is never ranked: it shows the frame before.
// Where the viewer ranked by progress round the track (it has the track's
// distances, the page has not), its order and gaps come with the race and
// are shown as they are.

export function analizaCarrera(carrera) {
  const n = carrera.n, frames = carrera.completos, v = carrera.vueltas;
  const jugadores = [];
  for (let j = 0; j < n; j++) {
    jugadores.push({ frames: [], vueltas: [], paso: [], ultima: [], mejor: [], completadas: [] });
  }
  for (let j = 0; j < n && frames > 0; j++) {
    const e = jugadores[j];
    let vueltas = v[j], paso = 0, ultima = -1, mejor = -1;
    let maximo = vueltas, ultimaCompletada = 0;
    const anota = (f) => {
      e.frames.push(f); e.vueltas.push(vueltas); e.paso.push(paso);
      e.ultima.push(ultima); e.mejor.push(mejor);
    };
    anota(0);
    for (let f = 1; f < frames; f++) {
      const nuevas = v[f * n + j];
      if (nuevas === vueltas) continue;
      paso = f;
      vueltas = nuevas;
      if (nuevas > maximo) {
        const tiempo = f - ultimaCompletada;
        e.completadas.push({ frame: f, primera: maximo + 1, ultima: nuevas, tiempo });
        ultima = nuevas - maximo === 1 ? tiempo : -1;
        mejor = mejor < 0 ? tiempo : Math.min(mejor, tiempo);
        maximo = nuevas;
        ultimaCompletada = f;
      }
      anota(f);
    }
  }
  const progreso = carrera.framesOrden > 0
    ? { frames: carrera.framesOrden, orden: carrera.orden, diferencias: carrera.diferencias } : null;
  return { n, frames, jugadores, progreso };
}

// The state index of player j at frame k: the last change at or before k.
function indiceEstado(e, k) {
  let bajo = 0, alto = e.frames.length - 1;
  while (bajo < alto) {
    const medio = (bajo + alto + 1) >> 1;
    if (e.frames[medio] <= k) bajo = medio; else alto = medio - 1;
  }
  return bajo;
}

// The standings at frame k (clamped to the complete frames), best first;
// empty when no frame is complete.
export function clasificacion(analisis, k) {
  if (analisis.frames === 0) return [];
  const frame = Math.min(Math.max(k, 0), analisis.frames - 1);
  const filas = [];
  for (let j = 0; j < analisis.n; j++) {
    const e = analisis.jugadores[j];
    const s = indiceEstado(e, frame);
    filas.push({
      jugador: j, vueltas: e.vueltas[s], paso: e.paso[s],
      ultimaVuelta: e.ultima[s] >= 0 ? e.ultima[s] : null,
      mejorVuelta: e.mejor[s] >= 0 ? e.mejor[s] : null,
    });
  }
  const progreso = analisis.progreso;
  if (progreso && frame < progreso.frames) {
    // Gaps: frames on the leader's lap, minus the laps behind when lapped.
    const base = frame * analisis.n;
    return Array.from({ length: analisis.n }, (_, i) => {
      const p = filas[progreso.orden[base + i]], d = progreso.diferencias[base + i];
      p.posicion = i + 1;
      p.diferenciaVueltas = d < 0 ? -d : 0;
      p.diferenciaPasos = d < 0 ? null : d;
      return p;
    });
  }
  filas.sort((a, b) => (b.vueltas - a.vueltas) || (a.paso - b.paso) || (a.jugador - b.jugador));
  const lider = filas[0];
  filas.forEach((p, i) => {
    p.posicion = i + 1;
    p.diferenciaVueltas = lider.vueltas - p.vueltas;
    p.diferenciaPasos = p.diferenciaVueltas === 0 ? p.paso - lider.paso : null;
  });
  return filas;
}

export function textoTiempo(t) {
  return t === null ? '-' : String(t);
}

export function textoDiferencia(p) {
  if (p.posicion === 1) return 'Líder';
  if (p.diferenciaPasos !== null) {
    return `+${p.diferenciaPasos} ${p.diferenciaPasos === 1 ? 'paso' : 'pasos'}`;
  }
  return `+${p.diferenciaVueltas} ${p.diferenciaVueltas === 1 ? 'vuelta' : 'vueltas'}`;
}

// The lap events of the timeline: [{frame, jugador}] of every completion,
// in frame order.
export function eventosVueltas(analisis) {
  const eventos = [];
  analisis.jugadores.forEach((e, j) => e.completadas.forEach((c) => eventos.push({ frame: c.frame, jugador: j })));
  eventos.sort((a, b) => a.frame - b.frame || a.jugador - b.jugador);
  return eventos;
}
