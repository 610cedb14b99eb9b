// The kart names on the page's overlay, as the window's kart labels: each
// kart's name beside it (its number where karts crowd), and a ring round the
// one the camera keeps in view.
import { radioDisco, seguidoEnCamara } from './pintor.js';

export function pintaNombresKarts(ctx, e, escena, nombres, discos) {
  const n = nombres.length;
  const letra = Math.min(Math.max(Math.floor(Math.min(escena.ancho, escena.alto) / 36), 11), 32);
  ctx.font = `bold ${letra}px sans-serif`;
  ctx.textBaseline = 'middle';
  const radio = radioDisco(e.zoom);
  const distancia = Math.max(letra * 2.4, 2 * radio + letra * 1.2);
  const px = (j) => [e.px(escena.posiciones[2 * j]), e.py(escena.posiciones[2 * j + 1])];
  for (let k = 0; k < n; k++) {
    const [x, y] = px(k);
    if (!(x >= 0 && x < escena.ancho && y >= 0 && y < escena.alto)) continue;
    let apinado = false;
    for (let o = 0; o < n && !apinado; o++) {
      if (o !== k) { const [ox, oy] = px(o); apinado = Math.hypot(ox - x, oy - y) < distancia; }
    }
    let texto = (nombres[k] || '').trim();
    if (apinado || !texto) texto = String(k);
    else if ([...texto].length > 14) texto = [...texto].slice(0, 13).join('') + '…';
    const ancho = ctx.measureText(texto).width + 6;
    const separacion = Math.min(radio, 40) + 3;
    const cx = x + separacion + ancho > escena.ancho ? x - separacion - ancho : x + separacion;
    ctx.fillStyle = 'rgba(0,0,0,0.75)';
    ctx.fillRect(cx, y - letra * 0.6, ancho, letra * 1.2);
    ctx.fillStyle = discos[k];
    ctx.fillText(texto, cx + 3, y);
  }
  const f = seguidoEnCamara(escena);
  if (f >= 0) {
    const [x, y] = px(f);
    if (x >= 0 && x < escena.ancho && y >= 0 && y < escena.alto) {
      ctx.strokeStyle = '#fff';
      ctx.lineWidth = 3;
      ctx.beginPath();
      ctx.arc(x, y, Math.min(radio, 200) + 4, 0, 2 * Math.PI);
      ctx.stroke();
    }
  }
}
