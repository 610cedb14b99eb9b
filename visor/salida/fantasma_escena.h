#pragma once

#include "analisis/analisis.h"
#include "analisis/fantasma.h"
#include "datos/carrera.h"
#include "escena/capa_fantasma.h"

#include <QString>

#include <memory>

namespace zul {

// A ghost race loaded beside ours, ready for the scene: the race, both
// analyses and the comparison, held together so the references inside stay
// valid. Our race must outlive it.
class FantasmaCargado {
public:
    FantasmaCargado(Carrera otra, const Carrera& nuestra, Alineacion alineacion);

    const CarreraFantasma& comparacion() const { return *comparar; }
    const Carrera& carrera() const { return otra; }

    // The ghost's karts at the frame that goes with our frame k, following
    // our player j; empty when the ghost has none. Each is drawn in the
    // colour of our player of the same name, and a ghost-only player in a
    // colour none of ours has.
    CapaFantasma capa(long long frame, int jugador) const;

private:
    Carrera otra;
    const Carrera& nuestra;
    AnalisisCarrera analisisNuestra;
    AnalisisCarrera analisisOtra;
    std::unique_ptr<CarreraFantasma> comparar;
    QVector<QString> nombres;
    QVector<QColor> colores;
};

// Loads the ghost race at `ruta` to lay over `nuestra`. Throws ErrorCarga,
// naming the file, when it cannot be read (as cargaCarrera does).
std::shared_ptr<const FantasmaCargado> cargaFantasma(const QString& ruta, const Carrera& nuestra,
                                                     Alineacion alineacion);

} // namespace zul
