// Pixels as the viewer's painter sets them with no antialiasing, so that the
// page's picture is the one visor --png draws. Everything draws into a
// framebuffer: a Uint32Array of width * height pixels (as an ImageData holds
// them: 0xAABBGGRR on little-endian machines).

export class Lienzo {
  constructor(ancho, alto) {
    this.ancho = ancho;
    this.alto = alto;
    this.imagen = new ImageDataOr(ancho, alto);
    this.pixeles = new Uint32Array(this.imagen.data.buffer);
  }
  // A colour [r, g, b] as a pixel.
  static pixel(c) {
    return (0xff000000 | (c[2] << 16) | (c[1] << 8) | c[0]) >>> 0;
  }
  limpia(pixel) { this.pixeles.fill(pixel); }

  // Pixels x0..x1-1 of row y, already inside the picture.
  tramo(y, x0, x1, pixel) {
    const base = y * this.ancho;
    this.pixeles.fill(pixel, base + x0, base + x1);
  }

  // A filled rectangle as drawRects fills it: the rows and columns whose
  // middles it covers, with the painter's own arithmetic on half pixels.
  rectangulo(x, arriba, w, altura, pixel) {
    if (!(w > 0) || !(altura > 0)) return;
    const ax = (x + x) * 0.5, bx = ((x + w) + (x + w)) * 0.5;
    const medioY = (arriba + (arriba + altura)) * 0.5;
    if (ax === bx) return;
    const centro = (ax + bx) * 0.5;
    const dx = Math.abs(bx - ax) * 0.5;
    const razon = altura / w;
    const dy = razon * dx;
    const sube = medioY - dy, baja = medioY + dy;
    if (!(sube <= baja) || mismo26Dot6(sube, baja)) return;
    const medio = 0.5 * (1 / razon) * (baja - sube);
    const izquierda = centro - medio, derecha = centro + medio;
    if (mismo26Dot6(izquierda, derecha)) return;
    const x0 = acota(Math.trunc(izquierda + 0.5), 0, this.ancho);
    const x1 = acota(Math.trunc(derecha + 0.5), 0, this.ancho);
    const y0 = acota(Math.trunc(sube + 0.5), 0, this.alto);
    const y1 = acota(Math.trunc(baja + 0.5), 0, this.alto);
    for (let y = y0; y < y1; y++) this.tramo(y, x0, x1, pixel);
  }

  // A disc: the pixels whose middles lie inside the circle.
  disco(cx, cy, r, pixel) {
    const y0 = Math.max(0, Math.ceil(cy - r - 0.5));
    const y1 = Math.min(this.alto - 1, Math.floor(cy + r - 0.5));
    const r2 = r * r;
    for (let y = y0; y <= y1; y++) {
      const dy = y + 0.5 - cy;
      const resto = r2 - dy * dy;
      if (!(resto > 0)) continue;
      const medio = Math.sqrt(resto);
      const x0 = Math.max(0, Math.ceil(cx - medio - 0.5));
      const x1 = Math.min(this.ancho, Math.floor(cx + medio - 0.5) + 1);
      if (x1 > x0) this.tramo(y, x0, x1, pixel);
    }
  }

  // A one-pixel line with square caps, as the painter's cosmetic pen draws
  // it: 26.6 fixed point, stepping along the longer axis in 16.16.
  linea(rx1, ry1, rx2, ry2, pixel) {
    if (rx1 === rx2 && ry1 === ry2) {
      this.punto(Math.trunc(rx1), Math.trunc(ry1), pixel);
      return;
    }
    const c = recortaAlDispositivo(rx1, ry1, rx2, ry2, this.ancho, this.alto);
    if (c === null) return;
    let x1 = Math.trunc(c[0] * 64), y1 = Math.trunc(c[1] * 64);
    let x2 = Math.trunc(c[2] * 64), y2 = Math.trunc(c[3] * 64);
    const dx = Math.abs(x2 - x1), dy = Math.abs(y2 - y1);
    if (dx < dy) {
      if (y1 > y2) { [x1, x2] = [x2, x1]; [y1, y2] = [y2, y1]; }
      const xinc = divide16(x2 - x1, y2 - y1);
      let x = x1 * 1024;
      y1 -= 32; x -= xinc >> 1; y2 += 32;
      let y = (y1 + 32) >> 6;
      const ys = (y2 + 32) >> 6;
      const redondeo = xinc > 0 ? 32 : 0;
      if (y !== ys) {
        x += (((y * 64) + redondeo - y1) * xinc) >> 6;
        do { this.punto(x >> 16, y, pixel); x += xinc; } while (++y < ys);
      }
    } else {
      if (dx === 0) return;
      if (x1 > x2) { [x1, x2] = [x2, x1]; [y1, y2] = [y2, y1]; }
      const yinc = divide16(y2 - y1, x2 - x1);
      let y = y1 * 1024;
      x1 -= 32; y -= yinc >> 1; x2 += 32;
      let x = (x1 + 32) >> 6;
      const xs = (x2 + 32) >> 6;
      const redondeo = yinc > 0 ? 32 : 0;
      if (x !== xs) {
        y += (((x * 64) + redondeo - x1) * yinc) >> 6;
        do { this.punto(x, y >> 16, pixel); y += yinc; } while (++x < xs);
      }
    }
  }

  punto(x, y, pixel) {
    if (x >= 0 && x < this.ancho && y >= 0 && y < this.alto) this.pixeles[y * this.ancho + x] = pixel;
  }

  // A tile of premultiplied pixels (0xAARRGGBB) over the picture, as the
  // painter blends it: source over, with its rounding of x * a / 255.
  baldosa(origen, anchoOrigen, sx, sy, w, h, dx, dy) {
    const p = this.pixeles;
    for (let fila = 0; fila < h; fila++) {
      const y = dy + fila;
      if (y < 0 || y >= this.alto) continue;
      const base = (sy + fila) * anchoOrigen + sx;
      for (let col = 0; col < w; col++) {
        const x = dx + col;
        if (x < 0 || x >= this.ancho) continue;
        const s = origen[base + col];
        const a = s >>> 24;
        if (a === 0) continue;
        const i = y * this.ancho + x;
        const sr = (s >>> 16) & 0xff, sg = (s >>> 8) & 0xff, sb = s & 0xff;
        if (a === 255) {
          p[i] = (0xff000000 | (sb << 16) | (sg << 8) | sr) >>> 0;
          continue;
        }
        const d = p[i], inv = 255 - a;
        const r = sr + porAlfa(d & 0xff, inv);
        const g = sg + porAlfa((d >>> 8) & 0xff, inv);
        const b = sb + porAlfa((d >>> 16) & 0xff, inv);
        p[i] = (0xff000000 | ((b & 0xff) << 16) | ((g & 0xff) << 8) | (r & 0xff)) >>> 0;
      }
    }
  }
}

// ImageData where the browser has it; a plain stand-in elsewhere (tests).
function ImageDataOr(ancho, alto) {
  if (typeof ImageData !== 'undefined') return new ImageData(ancho, alto);
  return { width: ancho, height: alto, data: new Uint8ClampedArray(ancho * alto * 4) };
}

function porAlfa(c, a) {
  const t = c * a;
  return (t + ((t >> 8) & 0xff) + 0x80) >> 8;
}

function acota(v, a, b) { return v < a ? a : v > b ? b : v; }

function mismo26Dot6(a, b) { return Math.trunc(a * 64) === Math.trunc(b * 64); }

function divide16(x, y) { return Math.trunc((x * 65536) / y); }

// The painter cuts cosmetic lines to the device widened by one pixel.
function recortaAlDispositivo(x1, y1, x2, y2, ancho, alto) {
  const xmin = -1, xmax = ancho + 1, ymin = -1, ymax = alto + 1;
  if (![x1, y1, x2, y2].every(Number.isFinite)) return null;
  if (x1 < xmin) {
    if (x2 <= xmin) return null;
    y1 += (y2 - y1) / (x2 - x1) * (xmin - x1); x1 = xmin;
  } else if (x1 > xmax) {
    if (x2 >= xmax) return null;
    y1 += (y2 - y1) / (x2 - x1) * (xmax - x1); x1 = xmax;
  }
  if (x2 < xmin) {
    y2 += (y2 - y1) / (x2 - x1) * (xmin - x2); x2 = xmin;
  } else if (x2 > xmax) {
    y2 += (y2 - y1) / (x2 - x1) * (xmax - x2); x2 = xmax;
  }
  if (y1 < ymin) {
    if (y2 <= ymin) return null;
    x1 += (x2 - x1) / (y2 - y1) * (ymin - y1); y1 = ymin;
  } else if (y1 > ymax) {
    if (y2 >= ymax) return null;
    x1 += (x2 - x1) / (y2 - y1) * (ymax - y1); y1 = ymax;
  }
  if (y2 < ymin) {
    x2 += (x2 - x1) / (y2 - y1) * (ymin - y2); y2 = ymin;
  } else if (y2 > ymax) {
    x2 += (x2 - x1) / (y2 - y1) * (ymax - y2); y2 = ymax;
  }
  return [x1, y1, x2, y2];
}
