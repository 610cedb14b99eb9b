#pragma once

#include <QPointF>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zul {

struct Disparo {
    QPointF inicio;
    QPointF fin;
};

// The shots of a race, in order. A shot whose four coordinates are floats
// exactly (small whole numbers, halves, quarters: "s 1 2 3 4") takes 16 bytes,
// any other 32, and every one reads back bit for bit as it went in. They are
// kept in pieces of a fixed size, so a log of millions of shots never copies
// them to grow and never holds more than one piece beyond what it uses.
class Disparos {
public:
    std::size_t size() const { return cuantos; }
    bool empty() const { return cuantos == 0; }
    Disparo operator[](std::size_t k) const;

    void push_back(const Disparo& disparo);
    void clear();
    // Drops the first `n` shots (all of them when there are fewer).
    void quitaPrimeros(std::size_t n);

private:
    struct Compacto {
        float x0;
        float y0;
        float x1;
        float y1;
    };
    // Per 64 shots: which of them are kept whole, and how many whole ones
    // come before them.
    struct Bloque {
        std::uint64_t enterosAntes = 0;
        std::uint64_t enteros = 0;
    };

    // A sequence in pieces of kPieza elements; the first grows as a vector
    // does, so a race with a few shots holds little.
    template <typename T> class Piezas {
    public:
        static constexpr std::size_t kBitsPieza = 16;
        static constexpr std::size_t kPieza = std::size_t{1} << kBitsPieza;

        std::size_t size() const { return cuantos; }
        const T& operator[](std::size_t k) const {
            return piezas[k >> kBitsPieza][k & (kPieza - 1)];
        }
        void push_back(const T& valor) {
            if (piezas.empty() || piezas.back().size() == kPieza) {
                piezas.emplace_back();
                if (piezas.size() > 1) {
                    piezas.back().reserve(kPieza);
                }
            }
            piezas.back().push_back(valor);
            ++cuantos;
        }
        void clear() {
            piezas.clear();
            cuantos = 0;
        }

    private:
        std::vector<std::vector<T>> piezas;
        std::size_t cuantos = 0;
    };

    Piezas<Compacto> compactos;
    Piezas<Disparo> enteros;
    std::vector<Bloque> bloques;
    std::size_t cuantos = 0;
};

} // namespace zul
