#include "escena/cache_escena.h"

#include "escena/estelas.h"
#include "escena/flechas.h"
#include "escena/pintor_escena.h"

#include <QPainter>

#include <cmath>
#include <cstring>
#include <tuple>
#include <type_traits>
#include <utility>

namespace zul {

namespace {

// Whether a type is built from exactly N values in braces: counts the fields
// of an aggregate, so that Escena::campos() cannot leave one out.
struct Cualquiera {
    template <typename T> operator T&() const;
};

template <typename T, typename Indices, typename = void> struct ConValores : std::false_type {};
template <typename T, std::size_t... I>
struct ConValores<T, std::index_sequence<I...>,
                  std::void_t<decltype(T{(static_cast<void>(I), Cualquiera{})...})>>
    : std::true_type {};

template <typename T, std::size_t N = 0> constexpr std::size_t numeroCampos() {
    if constexpr (ConValores<T, std::make_index_sequence<N + 1>>::value) {
        return numeroCampos<T, N + 1>();
    } else {
        return N;
    }
}

static_assert(numeroCampos<Escena>() ==
                  std::tuple_size_v<decltype(std::declval<const Escena&>().campos())>,
              "Escena::campos() must list every field of Escena");

template <typename T> bool mismosBits(const T& a, const T& b) {
    return a == b;
}

bool mismosBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Where the cells live, not what they hold: their owner's revision tells
// a change.
bool mismosBits(std::string_view a, std::string_view b) {
    return a.data() == b.data() && a.size() == b.size();
}

// Points, angles, numbers and pointers bit for bit (they hold no padding);
// names as text.
template <typename T> bool mismosBits(const QVector<T>& a, const QVector<T>& b) {
    if constexpr (std::is_trivially_copyable_v<T>) {
        return a.size() == b.size() &&
               (a.constData() == b.constData() ||
                std::memcmp(a.constData(), b.constData(),
                            sizeof(T) * static_cast<std::size_t>(a.size())) == 0);
    } else {
        return a == b;
    }
}

// Field by field: the padding after `edad` holds no value to compare.
bool mismosBits(const QVector<DisparoAnterior>& a, const QVector<DisparoAnterior>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (qsizetype k = 0; k < a.size(); ++k) {
        const DisparoAnterior& x = a[k];
        const DisparoAnterior& y = b[k];
        if (x.edad != y.edad || !mismosBits(x.inicio.x(), y.inicio.x()) ||
            !mismosBits(x.inicio.y(), y.inicio.y()) || !mismosBits(x.fin.x(), y.fin.x()) ||
            !mismosBits(x.fin.y(), y.fin.y())) {
            return false;
        }
    }
    return true;
}

template <typename Tupla, std::size_t... I>
bool todosIguales(const Tupla& a, const Tupla& b, std::index_sequence<I...>) {
    return (mismosBits(std::get<I>(a), std::get<I>(b)) && ...);
}

} // namespace

ClaveEscena ClaveEscena::de(const Escena& escena, double proporcion) {
    ClaveEscena clave;
    clave.escena = escena;
    clave.proporcion = proporcion;
    clave.revisionEstelas = escena.estelas != nullptr ? escena.estelas->revision() : 0;
    clave.revisionFlechas = escena.flechas != nullptr ? escena.flechas->revision() : 0;
    return clave;
}

bool ClaveEscena::igual(const ClaveEscena& otra) const {
    const auto campos = escena.campos();
    const Escena& e = escena;
    return mismosBits(proporcion, otra.proporcion) && revisionEstelas == otra.revisionEstelas &&
           revisionFlechas == otra.revisionFlechas &&
           todosIguales(campos, otra.escena.campos(),
                        std::make_index_sequence<std::tuple_size_v<decltype(campos)>>()) &&
           // The overlays' texts live outside the scene and change every frame,
           // and debug turns of a live file move as it grows: a picture with
           // either is never reused.
           !e.opciones.rotulos && !(e.opciones.depuracion && !e.depuracion.isEmpty());
}

const QImage& CacheEscena::imagen(const Escena& escena, PintorEscena& pintor, double proporcion) {
    ClaveEscena nueva = ClaveEscena::de(escena, proporcion);
    pinto = !valida || !nueva.igual(clave);
    if (!pinto) {
        return lienzo;
    }
    const QSize fisico(static_cast<int>(std::ceil(escena.tamano.width() * proporcion)),
                       static_cast<int>(std::ceil(escena.tamano.height() * proporcion)));
    if (lienzo.size() != fisico || lienzo.format() != QImage::Format_RGB32) {
        lienzo = QImage(fisico, QImage::Format_RGB32);
    }
    lienzo.setDevicePixelRatio(proporcion);
    // A size of no pixels, or one too large to hold, leaves an empty picture
    // that is painted again next time.
    if (!lienzo.isNull()) {
        QPainter lapiz(&lienzo);
        pintor.pinta(lapiz, escena);
    }
    clave = std::move(nueva);
    valida = !lienzo.isNull();
    return lienzo;
}

void CacheEscena::vacia() {
    valida = false;
    clave = ClaveEscena();
}

} // namespace zul
