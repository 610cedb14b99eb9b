// The replay page: the state (step, followed player, zoom, camera, options),
// the controls that change it, the keys of the viewer's window, the deep
// link in the address and the picture.
import { deBase64, inflar, decodificaCarrera, registroDe } from './decodificacion.js';
import { analizaCarrera, clasificacion, textoTiempo, textoDiferencia } from './clasificacion.js';
import { Lienzo } from './rasterizado.js';
import { Flechas, escenaDe, pintaEscena, radioDisco } from './pintor.js';
import { turnosDe, muestraNotas, pintaDepuracion } from './depuracion.js';
import { pintaNombresKarts } from './nombres.js';
import { eventosDe, pintaMarcas } from './marcas.js';

const ZOOM_MINIMO = 0.1, ZOOM_MAXIMO = 50, FACTOR_ZOOM = 1.25;
const CAMARAS = ['seguir', 'centrado', 'pista', 'director'];
const $ = (id) => document.getElementById(id);

function leeFragmento() {
  const r = {};
  for (const parte of location.hash.replace(/^#/, '').split('&')) {
    const [clave, valor] = parte.split('=');
    if (clave) r[decodeURIComponent(clave)] = decodeURIComponent(valor || '');
  }
  return r;
}

class Reproductor {
  constructor(meta, carrera, flechas, depuracion = null) {
    this.meta = meta;
    this.depuracion = depuracion;
    this.carrera = carrera;
    this.flechas = flechas;
    this.analisis = analizaCarrera(carrera);
    this.colores = meta.discos.map((c) => Lienzo.pixel(hexARgb(c)));
    const i = meta.inicio;
    this.estado = { paso: i.paso, mira: i.jugador, zoom: i.zoom, camara: i.camara,
                    estelas: i.estelas, nombres: i.nombres, depuracion: true };
    this.ejecutando = false;
    this.velocidad = 20;
    this.lienzo = null;
    this.eventos = eventosDe(carrera, this.analisis);
    this.aplicaFragmento(true);
    this.monta();
    this.cambia({});
  }

  get frames() { return this.carrera.frames; }

  aplicaFragmento(inicio) {
    const f = leeFragmento();
    const e = {};
    const entero = (v) => (/^\d+$/.test(v) ? Number(v) : NaN);
    if ('paso' in f && Number.isFinite(entero(f.paso))) e.paso = entero(f.paso);
    if ('jugador' in f && Number.isFinite(entero(f.jugador))) e.mira = entero(f.jugador);
    if ('zoom' in f) { const z = Number(String(f.zoom).replace(',', '.')); if (Number.isFinite(z)) e.zoom = z; }
    if ('camara' in f && CAMARAS.includes(f.camara)) e.camara = f.camara;
    document.body.classList.toggle('compacto', f.compacto === '1');
    if (inicio) Object.assign(this.estado, e); else this.cambia(e, false);
  }

  // Every change of state goes through here: it is clamped, shown and
  // written to the address.
  cambia(cambios, escribeDireccion = true) {
    const s = Object.assign(this.estado, cambios);
    s.paso = Math.min(Math.max(Math.trunc(s.paso) || 0, 0), Math.max(this.frames - 1, 0));
    s.mira = Math.min(Math.max(Math.trunc(s.mira) || 0, 0), Math.max(this.carrera.n - 1, 0));
    s.zoom = Math.min(Math.max(Number(s.zoom) || 10, ZOOM_MINIMO), ZOOM_MAXIMO);
    if (!CAMARAS.includes(s.camara)) s.camara = 'seguir';
    if (this.ejecutando && s.paso >= this.frames - 1) this.pausa();
    this.muestra();
    if (escribeDireccion) this.escribeDireccion();
  }

  escribeDireccion() {
    const s = this.estado;
    let h = `#paso=${s.paso}&jugador=${s.mira}&zoom=${+s.zoom.toFixed(4)}&camara=${s.camara}`;
    if (document.body.classList.contains('compacto')) h += '&compacto=1';
    if (h === location.hash) return;
    // Browsers refuse too many address changes a second: while playing the
    // address follows a few times a second.
    const ahora = performance.now();
    clearTimeout(this.temporizadorDireccion);
    if (!this.ejecutando || ahora - (this.ultimaDireccion || 0) > 250) {
      this.ultimaDireccion = ahora;
      history.replaceState(null, '', h);
    } else {
      this.temporizadorDireccion = setTimeout(() => this.escribeDireccion(), 260);
    }
  }

  monta() {
    const m = this.meta;
    document.title = `${m.titulo} · ZUL Karts`;
    $('titulo').textContent = m.titulo;
    if (m.volver) { $('volver').href = m.volver; $('volver').hidden = false; }
    $('aviso').hidden = true;
    $('linea').max = String(Math.max(this.frames - 1, 0));
    $('linea').addEventListener('input', () => this.cambia({ paso: Number($('linea').value) }));
    $('ejecutar').addEventListener('click', () => this.alterna());
    $('paso').addEventListener('click', () => this.cambia({ paso: this.estado.paso + 1 }));
    $('atras').addEventListener('click', () => this.cambia({ paso: this.estado.paso - 1 }));
    $('reiniciar').addEventListener('click', () => this.cambia({ paso: 0 }));
    $('velocidad').addEventListener('change', () => { this.velocidad = Number($('velocidad').value); });
    $('zoom').addEventListener('change', () => this.cambia({ zoom: Number($('zoom').value.replace(',', '.')) }));
    $('camara').addEventListener('change', () => this.cambia({ camara: $('camara').value }));
    $('estelas').addEventListener('change', () => this.cambia({ estelas: $('estelas').checked }));
    $('nombres').addEventListener('change', () => this.cambia({ nombres: $('nombres').checked }));
    $('filaDepuracion').hidden = $('notas').hidden = !this.depuracion;
    $('verDepuracion').addEventListener('change', () => this.cambia({ depuracion: $('verDepuracion').checked }));
    $('eventoAnterior').addEventListener('click', () => this.saltaEvento(-1));
    $('eventoSiguiente').addEventListener('click', () => this.saltaEvento(1));
    const lista = $('jugadores');
    this.filasJugadores = m.nombres.map((nombre, j) => {
      const li = document.createElement('li');
      const b = document.createElement('button');
      b.type = 'button';
      const n = document.createElement('span');
      n.className = 'nombre';
      n.textContent = nombre || String(j);
      n.title = nombre;
      n.style.color = m.etiquetas[j];
      n.style.background = m.fondos[j];
      const v = document.createElement('span');
      b.append(n, v);
      b.addEventListener('click', () => this.sigue(j));
      li.append(b);
      lista.append(li);
      return { boton: b, vueltas: v };
    });
    $('clasificacion').addEventListener('click', (ev) => {
      const tr = ev.target.closest('tr[data-jugador]');
      if (tr) this.sigue(Number(tr.dataset.jugador));
    });
    const lienzo = $('lienzo');
    lienzo.addEventListener('wheel', (ev) => {
      ev.preventDefault();
      const muescas = -Math.sign(ev.deltaY) * Math.max(1, Math.abs(ev.deltaY) / 100);
      this.cambia({ zoom: this.estado.zoom * Math.pow(FACTOR_ZOOM, muescas) });
    }, { passive: false });
    lienzo.addEventListener('click', (ev) => this.clic(ev));
    // Two fingers zoom, as the wheel does.
    const dedos = new Map();
    let separacion = 0, zoomInicial = 0;
    const distancia = () => { const [a, b] = [...dedos.values()]; return Math.hypot(a.x - b.x, a.y - b.y); };
    lienzo.addEventListener('pointerdown', (ev) => {
      dedos.set(ev.pointerId, { x: ev.clientX, y: ev.clientY });
      if (dedos.size === 2) { separacion = distancia(); zoomInicial = this.estado.zoom; }
    });
    lienzo.addEventListener('pointermove', (ev) => {
      if (!dedos.has(ev.pointerId)) return;
      dedos.set(ev.pointerId, { x: ev.clientX, y: ev.clientY });
      if (dedos.size === 2 && separacion > 0) this.cambia({ zoom: zoomInicial * distancia() / separacion });
    });
    for (const fin of ['pointerup', 'pointercancel', 'pointerleave']) {
      lienzo.addEventListener(fin, (ev) => { dedos.delete(ev.pointerId); separacion = 0; });
    }
    document.addEventListener('keydown', (ev) => this.tecla(ev));
    window.addEventListener('hashchange', () => this.aplicaFragmento(false));
    new ResizeObserver(() => this.muestra()).observe($('pista'));
    new ResizeObserver(() => pintaMarcas($('marcas'), this.eventos, this.frames, this.meta)).observe($('barra'));
  }

  sigue(j) {
    const camara = this.estado.camara === 'pista' || this.estado.camara === 'director' ? 'seguir' : this.estado.camara;
    this.cambia({ mira: j, camara });
  }

  clic(ev) {
    if (!this.encuadre) return;
    const r = $('lienzo').getBoundingClientRect();
    const escala = this.lienzo.ancho / r.width;
    const [x, y] = this.encuadre.aMapa((ev.clientX - r.left) * escala, (ev.clientY - r.top) * escala);
    const radio = radioDisco(this.encuadre.zoom);
    const p = this.escena.posiciones;
    // The last kart drawn is the one on top.
    for (let k = this.carrera.n - 1; k >= 0; k--) {
      if (Math.hypot((p[2 * k] - x) * this.encuadre.zoom, (p[2 * k + 1] - y) * this.encuadre.zoom) <= radio) {
        this.sigue(k);
        return;
      }
    }
  }

  tecla(ev) {
    const t = ev.target;
    const escribiendo = t && (t.tagName === 'INPUT' && (t.type === 'number' || t.type === 'text'));
    if (ev.ctrlKey || ev.metaKey || ev.altKey) return;
    if (escribiendo) {
      if (ev.key === 'Enter' || ev.key === 'Escape') { t.blur(); $('lienzo').focus(); }
      if (ev.key !== ' ' && ev.key !== '[' && ev.key !== ']') return;
    }
    const s = this.estado;
    const acciones = {
      ' ': () => this.alterna(),
      ArrowRight: () => this.cambia({ paso: s.paso + 1 }),
      ArrowLeft: () => this.cambia({ paso: s.paso - 1 }),
      Home: () => this.cambia({ paso: 0 }),
      End: () => this.cambia({ paso: this.frames - 1 }),
      PageUp: () => this.cambia({ paso: s.paso + 10 }),
      PageDown: () => this.cambia({ paso: s.paso - 10 }),
      '+': () => this.cambia({ zoom: s.zoom * FACTOR_ZOOM }),
      '-': () => this.cambia({ zoom: s.zoom / FACTOR_ZOOM }),
      '0': () => this.cambia({ camara: 'pista' }),
      d: () => this.cambia({ camara: 'director' }),
      n: () => this.cambia({ nombres: !s.nombres }),
      b: () => this.cambia({ depuracion: !s.depuracion }),
      h: () => document.body.classList.toggle('sin-panel'),
      '[': () => this.saltaEvento(-1),
      ']': () => this.saltaEvento(1),
    };
    let accion = acciones[ev.key] || acciones[ev.key.toLowerCase()];
    if (/^[1-9]$/.test(ev.key)) accion = () => this.sigue(Number(ev.key) - 1);
    if (!accion) return;
    // Keys that a focused control would take for itself (the timeline's
    // arrows, a button's space) do the window's thing instead.
    ev.preventDefault();
    accion();
  }

  saltaEvento(sentido) {
    const k = this.estado.paso;
    const lista = sentido > 0 ? this.eventos : [...this.eventos].reverse();
    const e = lista.find((ev) => (sentido > 0 ? ev.frame > k : ev.frame < k));
    if (!e) return;
    const cambios = { paso: e.frame };
    if (e.tipo === 'vuelta') {
      const mismos = this.eventos.filter((o) => o.frame === e.frame && o.tipo === 'vuelta').map((o) => o.jugador);
      cambios.mira = mismos.includes(this.estado.mira) ? this.estado.mira : e.jugador;
    } else {
      cambios.mira = this.masCercano(e.frame, this.carrera.disparoX1[e.disparo], this.carrera.disparoY1[e.disparo]);
    }
    if (this.estado.camara === 'director') cambios.camara = 'seguir';
    this.cambia(cambios);
  }

  masCercano(k, x, y) {
    let mejor = this.estado.mira, distancia = Infinity;
    for (let j = 0; j < this.carrera.n; j++) {
      const i = registroDe(this.carrera, k, j);
      if (i < 0) continue;
      const d = Math.hypot(this.carrera.x[i] - x, this.carrera.y[i] - y);
      if (d < distancia) { distancia = d; mejor = j; }
    }
    return mejor;
  }

  alterna() { if (this.ejecutando) this.pausa(); else this.ejecuta(); }

  ejecuta() {
    if (this.estado.paso >= this.frames - 1) this.cambia({ paso: 0 });
    this.ejecutando = true;
    $('ejecutar').textContent = 'Pausa';
    let previo = performance.now(), acumulado = 0;
    const avanza = (ahora) => {
      if (!this.ejecutando) return;
      acumulado += (ahora - previo) * this.velocidad / 1000;
      previo = ahora;
      const pasos = Math.floor(acumulado);
      if (pasos > 0) {
        acumulado -= pasos;
        this.cambia({ paso: this.estado.paso + pasos });
      }
      if (this.ejecutando) requestAnimationFrame(avanza);
    };
    requestAnimationFrame(avanza);
  }

  pausa() {
    this.ejecutando = false;
    $('ejecutar').textContent = 'Ejecutar';
    this.escribeDireccion();
  }

  // The size the picture is drawn at: the track's box in device pixels.
  tamano() {
    const r = $('pista').getBoundingClientRect();
    const ratio = window.devicePixelRatio || 1;
    return [Math.max(1, Math.round(r.width * ratio)), Math.max(1, Math.round(r.height * ratio))];
  }

  muestra() {
    if (this.pendiente) return;
    this.pendiente = requestAnimationFrame(() => { this.pendiente = 0; this.dibuja(); });
  }

  // Draws at once, for tests that measure or compare.
  dibuja(tamano) {
    const inicio = performance.now();
    const [ancho, alto] = tamano || this.tamano();
    const s = this.estado;
    const lienzo = $('lienzo');
    if (!this.lienzo || this.lienzo.ancho !== ancho || this.lienzo.alto !== alto) {
      this.lienzo = new Lienzo(ancho, alto);
      lienzo.width = ancho; lienzo.height = alto;
      $('textos').width = ancho; $('textos').height = alto;
    }
    const puestos = clasificacion(this.analisis, s.paso);
    const escena = escenaDe(this.carrera, s.paso, {
      ancho, alto, zoom: s.zoom, mira: s.mira, camara: s.camara, estelas: s.estelas,
      lider: puestos.length ? puestos[0].jugador : -1,
    });
    this.escena = escena;
    this.encuadre = pintaEscena(this.lienzo, escena, this.flechas, this.colores);
    lienzo.getContext('2d').putImageData(this.lienzo.imagen, 0, 0);
    this.pintaNombres(escena);
    this.muestraControles(puestos);
    this.ultimoDibujo = performance.now() - inicio;
    // For measuring: when the first picture was on the canvas, from the
    // start of the page's loading.
    const raiz = document.documentElement;
    if (!raiz.dataset.primerCuadro) raiz.dataset.primerCuadro = String(performance.now());
  }

  // The overlay: the bots' drawings over the race, then the kart names.
  pintaNombres(escena) {
    const ctx = $('textos').getContext('2d');
    ctx.clearRect(0, 0, escena.ancho, escena.alto);
    // The bots' drawings over the race, under the names.
    if (this.estado.depuracion) pintaDepuracion(ctx, this.encuadre, escena, turnosDe(this.depuracion, this.estado.paso));
    if (this.estado.nombres) pintaNombresKarts(ctx, this.encuadre, escena, this.meta.nombres, this.meta.discos);
  }

  muestraControles(puestos) {
    const s = this.estado;
    const ultimo = s.paso >= this.frames - 1;
    $('linea').value = String(s.paso);
    $('linea').setAttribute('aria-valuetext', `Paso ${s.paso} de ${this.frames}`);
    $('pasoTexto').textContent = `Paso ${s.paso} de ${this.frames}`;
    if (document.activeElement !== $('zoom')) $('zoom').value = String(+s.zoom.toFixed(2));
    $('camara').value = s.camara;
    $('estelas').checked = s.estelas;
    $('nombres').checked = s.nombres;
    if (this.depuracion) {
      $('verDepuracion').checked = s.depuracion;
      muestraNotas(this.depuracion, s.paso, s.mira, $('tituloNotas'), $('listaNotas'));
    }
    const foto = [];
    for (let j = 0; j < this.carrera.n; j++) {
      const i = registroDe(this.carrera, s.paso, j);
      foto.push(i >= 0 ? this.carrera.vueltas[i] : 0);
    }
    this.filasJugadores.forEach((f, j) => {
      f.vueltas.textContent = `${foto[j]} vueltas`;
      f.boton.setAttribute('aria-pressed', String(j === s.mira));
    });
    // A partial last step shows the standings of the complete one before.
    const completo = Math.min(s.paso, this.analisis.frames - 1);
    $('tituloClasificacion').textContent = completo < 0 ? 'Clasificación'
      : ultimo ? `Clasificación final (paso ${completo})` : `Clasificación (paso ${completo})`;
    const cuerpo = $('clasificacion').tBodies[0];
    const filas = puestos.map((p) => {
      const tr = document.createElement('tr');
      tr.dataset.jugador = String(p.jugador);
      if (p.jugador === s.mira) tr.className = 'seguido';
      const nombre = document.createElement('span');
      nombre.className = 'nombre';
      nombre.textContent = this.meta.nombres[p.jugador] || String(p.jugador);
      nombre.style.color = this.meta.etiquetas[p.jugador];
      nombre.style.background = this.meta.fondos[p.jugador];
      const celdas = [String(p.posicion), nombre, String(p.vueltas), textoTiempo(p.ultimaVuelta),
                      textoTiempo(p.mejorVuelta), textoDiferencia(p)];
      for (const c of celdas) { const td = document.createElement('td'); td.append(c); tr.append(td); }
      return tr;
    });
    cuerpo.replaceChildren(...filas);
  }

}

function hexARgb(h) {
  const v = parseInt(h.slice(1), 16);
  return [(v >> 16) & 0xff, (v >> 8) & 0xff, v & 0xff];
}

async function arranca() {
  try {
    // The marks show where the time to the first picture goes.
    performance.mark('zul-inicio');
    const meta = JSON.parse($('meta').textContent);
    const comprimidos = deBase64($('datos').textContent);
    performance.mark('zul-base64');
    const [datos, hoja] = await Promise.all([inflar(comprimidos), inflar(deBase64(meta.flechas.hoja))]);
    performance.mark('zul-inflado');
    const carrera = decodificaCarrera(datos);
    performance.mark('zul-decodificado');
    const pixeles = new Uint32Array(hoja.buffer, hoja.byteOffset, hoja.byteLength >> 2);
    const flechas = new Flechas(pixeles, meta.flechas.ancho, meta.flechas.lado, meta.flechas.medidas);
    // The bots' debug layer, when the page carries one.
    const textoDepuracion = $('depuracion').textContent.trim();
    const depuracion = textoDepuracion
      ? JSON.parse(new TextDecoder().decode(await inflar(deBase64(textoDepuracion)))) : null;
    window.reproductor = new Reproductor(meta, carrera, flechas, depuracion);
    performance.mark('zul-montado');
    document.documentElement.dataset.listo = '1';
  } catch (error) {
    $('aviso').textContent = `No se pudo mostrar la carrera: ${error.message}`;
    document.documentElement.dataset.listo = 'error';
  }
}

arranca();
