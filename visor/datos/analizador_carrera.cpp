#include "datos/analizador_carrera.h"

#include "datos/escaner.h"
#include "datos/numeros.h"
#include "datos/vectorial.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace zul {

namespace {

using numeros::esDigito;
using numeros::esEspacio;

inline bool blanco(const char* p) {
    return esEspacio(static_cast<unsigned char>(*p));
}

// Tokens of a player or shot record: the letter and four numbers.
constexpr std::size_t kTokensRegistro = 5;
// The stretch of the buffer indexed at a time: big enough to pay for the
// indexing, small enough for the index to stay in the cache.
constexpr std::size_t kVentana = 1 << 16;

// The indexed record reader, once with the plain field reader and, where
// the processor has them, once compiled for the vector instructions with the
// vector field reader in front of the plain one.
namespace plano {
inline __attribute__((always_inline)) bool real(const char*& p, const char* fin, double& valor) {
    return numeros::decimalSimple(p, fin, valor);
}
#include "datos/registros_indexados.inc"
} // namespace plano

#if ZUL_HAY_VECTORIAL
ZUL_VECTORIAL_INICIO
namespace vectores {
inline __attribute__((always_inline)) bool real(const char*& p, const char* fin, double& valor) {
    return (fin - p >= 17 && vectorial::decimalCorto(p, valor)) ||
           numeros::decimalSimple(p, fin, valor);
}
#include "datos/registros_indexados.inc"
} // namespace vectores
ZUL_VECTORIAL_FIN
#endif

} // namespace

const char* AnalizadorCarrera::analiza(const char* inicio, const char* fin, bool final) {
    const char* p = inicio;
    if (fase == Fase::cuenta) {
        p = cuenta(p, fin, final);
    }
    if (fase == Fase::nombres) {
        p = nombres(p, fin, final);
    }
    if (fase == Fase::cuerpo) {
        p = cuerpo(p, fin, final);
    }
    return fase == Fase::terminado ? fin : p;
}

// "%lld", digit by digit: a count cut anywhere reads the same, and a count of
// any length takes no memory.
const char* AnalizadorCarrera::cuenta(const char* p, const char* fin, bool final) {
    static const char* const kSinCuenta =
        "El registro de carrera no empieza con el número de jugadores.";
    if (!cuentaEmpezada) {
        while (p < fin && blanco(p)) {
            ++p;
        }
        if (p == fin) {
            if (final) {
                throw ErrorFormato(kSinCuenta);
            }
            return p;
        }
        cuentaEmpezada = true;
        if (*p == '-' || *p == '+') {
            negativo = *p == '-';
            ++p;
        }
    }
    constexpr unsigned long long kLimite = 1ULL << 63;
    while (p < fin && esDigito(static_cast<unsigned char>(*p))) {
        hayDigitos = true;
        const unsigned d = static_cast<unsigned>(*p - '0');
        if (desborde || magnitud > (kLimite - d) / 10) {
            desborde = true;
        } else {
            magnitud = magnitud * 10 + d;
        }
        ++p;
    }
    if (p == fin && !final) {
        return p;
    }
    if (!hayDigitos) {
        throw ErrorFormato(kSinCuenta);
    }
    // 2^63 itself only fits as a negative number; past the type, only the
    // sign matters.
    const bool noCabe = desborde || (!negativo && magnitud == kLimite);
    long long valor = negativo ? -1 : 1;
    if (!noCabe) {
        valor = negativo ? (magnitud == kLimite ? std::numeric_limits<long long>::min()
                                                : -static_cast<long long>(magnitud))
                         : static_cast<long long>(magnitud);
    }
    n = compruebaNumeroJugadores(valor, noCabe);
    fase = Fase::nombres;
    leidos.reserve(static_cast<std::size_t>(n));
    return p;
}

// "%199s" n times, with the rest of a longer token skipped: a name keeps its
// first kLargoToken bytes, and the next name starts at the next token.
const char* AnalizadorCarrera::nombres(const char* p, const char* fin, bool final) {
    while (static_cast<long long>(leidos.size()) < n) {
        if (!enNombre) {
            while (p < fin && blanco(p)) {
                ++p;
            }
            if (p == fin) {
                if (!final) {
                    return p;
                }
                // A log that ends inside the name list leaves the missing names empty.
                leidos.resize(static_cast<std::size_t>(n));
                break;
            }
            enNombre = true;
            nombre.clear();
            largoNombre = 0;
            nombreConNulo = false;
        }
        while (p < fin && !blanco(p)) {
            if (largoNombre < static_cast<std::size_t>(kLargoToken)) {
                // A NUL byte ends the name, as it ends a C string.
                nombreConNulo = nombreConNulo || *p == '\0';
                if (!nombreConNulo) {
                    nombre.push_back(*p);
                }
                ++largoNombre;
            } else {
                largoNombre = static_cast<std::size_t>(kLargoToken) + 1;
                // The rest of an overlong token, skipped at once.
                const char* q = p;
                while (q < fin && !blanco(q)) {
                    ++q;
                }
                p = q;
                break;
            }
            ++p;
        }
        if (p == fin && !final) {
            return p;
        }
        if (largoNombre > static_cast<std::size_t>(kLargoToken) && !nombreConNulo) {
            quitaCaracterCortado(nombre);
        }
        leidos.push_back(std::move(nombre));
        nombre = std::string();
        enNombre = false;
    }
    destino.numJugadores = static_cast<int>(n);
    destino.nombres = std::move(leidos);
    destino.posiciones.reserve(estimados);
    destino.angulos.reserve(estimados);
    destino.vueltas.reserve(estimados);
    fase = Fase::cuerpo;
    return p;
}

// The field rules are the C library's formatted input (see Escaner), so any
// log reads the same as it would token by token with fscanf, only many times
// faster. Plain records are read from a token index of the buffer; any other
// record is read token by token and field by field, and a token or a field
// that reaches the end of the buffer, which more bytes could change, is left
// for the next call.
const char* AnalizadorCarrera::cuerpo(const char* inicio, const char* fin, bool final) {
    Escaner escaner(inicio, fin);
    bool indexado = false; // whether the index covers part of this buffer
    std::size_t t = 0;     // the index's next token
    int frame = k;
    long long enFrame = j;
    const long long jugadores = n;
    Carrera& carrera = destino;

    const auto jugador = [&](double x, double y, double angulo, int vueltas) {
        carrera.posiciones.emplace_back(x, y);
        carrera.angulos.push_back(angulo);
        carrera.vueltas.push_back(vueltas);
        if (++enFrame == jugadores) {
            enFrame = 0;
            ++frame;
        }
    };
    const auto disparo = [&](double x0, double y0, double x1, double y1) {
        // Before the first player record of frame k the shot still belongs
        // to frame k - 1.
        const int suyo = enFrame > 0 ? frame : (frame > 0 ? frame - 1 : 0);
        carrera.disparos.push_back({QPointF(x0, y0), QPointF(x1, y1)});
        // A log with many shots gets room for all the shots it can hold at
        // once, instead of regrowing (and copying) them again and again; a
        // few shots take no more than they use.
        std::vector<int>& frames = carrera.framesDisparos;
        if (frames.size() == frames.capacity() && frames.size() >= kDisparosSinReserva) {
            frames.reserve(std::max(disparosEstimados, 2 * frames.size()));
        }
        frames.push_back(suyo);
    };
    // Puts t on the token at q, indexing more of the buffer when needed;
    // false when q lies inside a token or too near the end of the buffer for
    // a whole record to be seen.
    const auto alinea = [&](const char* q) {
        if (indexado && q < indice.hasta()) {
            while (t < indice.cuantos() && indice.token(t) < q) {
                ++t;
            }
            if (t == indice.cuantos() || indice.token(t) != q) {
                return false;
            }
            if (t + kTokensRegistro < indice.cuantos()) {
                return true;
            }
            if (indice.hasta() == fin) {
                return false;
            }
        }
        const std::size_t quedan = static_cast<std::size_t>(fin - q);
        indice.indexa(q, q + std::min(quedan, kVentana));
        indexado = true;
        t = 0;
        return t + kTokensRegistro < indice.cuantos();
    };
#if ZUL_HAY_VECTORIAL
    const bool conVectores = vectorial::activo();
#endif
    const auto leeRegistros = [&]() {
#if ZUL_HAY_VECTORIAL
        if (conVectores) {
            return vectores::leeIndexados(indice, t, fin, jugador, disparo);
        }
#endif
        return plano::leeIndexados(indice, t, fin, jugador, disparo);
    };

    const char* resto = fin;
    for (;;) {
        if (saltando) {
            const char* q = escaner.posicion();
            while (q < fin && !blanco(q)) {
                ++q;
            }
            escaner.avanzaA(q);
            if (q == fin && !final) {
                break;
            }
            saltando = false;
        }
        const char* q = escaner.saltaBlancos();
        if (q == fin) {
            if (final) {
                // A record cut short by the end of the log is not kept.
                fase = Fase::terminado;
            }
            break;
        }
        if (registro == Registro::ninguno) {
            if (alinea(q)) {
                const std::size_t hasta = leeRegistros();
                if (hasta != t) {
                    t = hasta;
                    escaner.avanzaA(indice.token(t));
                    continue;
                }
            }
            // A tag is exactly "p" or "s" (as a C string): its first two
            // bytes tell, and the rest of its token is skipped.
            if (fin - q < 2 && !final) {
                resto = q;
                break;
            }
            const bool unaLetra = fin - q < 2 || blanco(q + 1) || q[1] == '\0';
            registro = !unaLetra   ? Registro::ninguno
                       : *q == 'p' ? Registro::jugador
                       : *q == 's' ? Registro::disparo
                                   : Registro::ninguno;
            campos = 0;
            escaner.avanzaA(q + 1);
            saltando = true;
            continue;
        }

        // One field of a record, as "%lf" or, for the laps, "%d".
        double valor = 0;
        int vueltas = 0;
        const bool esVueltas = registro == Registro::jugador && campos == 3;
        bool leido = esVueltas ? escaner.entero(vueltas) : escaner.real(valor);
        const auto largo = static_cast<std::size_t>(escaner.posicion() - q);
        if (largo > kLargoCampo) {
            // Unreadable, like a word: its token is skipped whole.
            leido = false;
            escaner.avanzaA(q);
            saltando = true;
        } else if (escaner.posicion() == fin && !final) {
            resto = q;
            break;
        }
        if (!leido) {
            if (registro == Registro::jugador) {
                fase = Fase::terminado;
                break;
            }
            // A shot that cannot be read is dropped, and reading goes on.
            registro = Registro::ninguno;
            continue;
        }
        if (esVueltas) {
            jugador(valores[0], valores[1], valores[2], vueltas);
            registro = Registro::ninguno;
            continue;
        }
        valores[campos++] = valor;
        if (campos == 4) {
            disparo(valores[0], valores[1], valores[2], valores[3]);
            registro = Registro::ninguno;
        }
    }
    k = frame;
    j = enFrame;
    return resto;
}

} // namespace zul
