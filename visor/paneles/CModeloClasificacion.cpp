#include "paneles/CModeloClasificacion.h"

#include "analisis/textos.h"
#include "geometria/colores.h"

#include <QColor>
#include <QFont>

#include <algorithm>
#include <utility>

CModeloClasificacion::CModeloClasificacion(const zul::AnalisisCarrera* analisis,
                                           QStringList nombres, QObject* parent)
    : QAbstractTableModel(parent), analisis(analisis), nombres(std::move(nombres)) {
    if (analisis != nullptr) {
        puestos = analisis->clasificacion(0);
    }
}

int CModeloClasificacion::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : static_cast<int>(puestos.size());
}

int CModeloClasificacion::columnCount(const QModelIndex& padre) const {
    if (padre.isValid()) {
        return 0;
    }
    return analisis != nullptr && analisis->conMapa() ? NumColumnas : kColumnasSinMapa;
}

namespace {

// The purple and green of live timing, with white text on them.
QColor fondoMarca(zul::MarcaSector marca) {
    switch (marca) {
    case zul::MarcaSector::Carrera:
        return QColor(128, 40, 170);
    case zul::MarcaSector::Personal:
        return QColor(20, 130, 50);
    case zul::MarcaSector::Ninguna:
        break;
    }
    return {};
}

zul::MarcaSector marcaDe(const zul::Puesto& p, int columna) {
    if (columna >= CModeloClasificacion::Sector1 && columna <= CModeloClasificacion::Sector3) {
        return p.marcaUltimo[static_cast<std::size_t>(columna - CModeloClasificacion::Sector1)];
    }
    if (columna >= CModeloClasificacion::MejorSector1 &&
        columna <= CModeloClasificacion::MejorSector3) {
        return p.marcaMejor[static_cast<std::size_t>(columna - CModeloClasificacion::MejorSector1)];
    }
    return zul::MarcaSector::Ninguna;
}

} // namespace

QVariant CModeloClasificacion::data(const QModelIndex& indice, int rol) const {
    if (!indice.isValid() || indice.row() < 0 ||
        static_cast<std::size_t>(indice.row()) >= puestos.size()) {
        return {};
    }
    const zul::Puesto& p = puestos[static_cast<std::size_t>(indice.row())];
    const int columna = indice.column();
    switch (rol) {
    case Qt::DisplayRole:
        switch (columna) {
        case Pos:
            return p.posicion;
        case Jugador:
            return p.jugador < nombres.size() ? nombres[p.jugador] : QString();
        case Vueltas:
            return p.vueltas;
        case UltimaVuelta:
            return zul::textoTiempo(p.ultimaVuelta);
        case MejorVuelta:
            return zul::textoTiempo(p.mejorVuelta);
        case Diferencia:
            return zul::textoDiferencia(p);
        case Intervalo:
            return zul::textoIntervalo(p);
        case Sector1:
        case Sector2:
        case Sector3:
            return zul::textoTiempo(p.ultimoSector[static_cast<std::size_t>(columna - Sector1)]);
        case MejorSector1:
        case MejorSector2:
        case MejorSector3:
            return zul::textoTiempo(
                p.mejorSector[static_cast<std::size_t>(columna - MejorSector1)]);
        case VueltaIdeal:
            return zul::textoTiempo(p.vueltaIdeal);
        default:
            return {};
        }
    case Qt::ForegroundRole:
        if (columna == Jugador) {
            return QColor(QLatin1Char('#') + QLatin1String(zul::colorEtiqueta(p.jugador)));
        }
        if (marcaDe(p, columna) != zul::MarcaSector::Ninguna) {
            return QColor(Qt::white);
        }
        return {};
    case Qt::BackgroundRole:
        if (marcaDe(p, columna) != zul::MarcaSector::Ninguna) {
            return fondoMarca(marcaDe(p, columna));
        }
        // Pale enough for every name colour to stay readable on it.
        if (p.jugador == seguido) {
            return QColor(222, 228, 240);
        }
        return {};
    case Qt::FontRole:
        if (p.jugador == seguido) {
            QFont negrita;
            negrita.setBold(true);
            return negrita;
        }
        return {};
    case Qt::TextAlignmentRole:
        return columna == Jugador || columna == Diferencia || columna == Intervalo
                   ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case RolJugador:
        return p.jugador;
    default:
        return {};
    }
}

QVariant CModeloClasificacion::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    if (orientacion != Qt::Horizontal || rol != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(seccion, orientacion, rol);
    }
    switch (seccion) {
    case Pos:
        return tr("Pos");
    case Jugador:
        return tr("Jugador");
    case Vueltas:
        return tr("Vueltas");
    case UltimaVuelta:
        return tr("Última vuelta");
    case MejorVuelta:
        return tr("Mejor vuelta");
    case Diferencia:
        return tr("Diferencia");
    case Intervalo:
        return tr("Intervalo");
    case Sector1:
        return tr("S1");
    case Sector2:
        return tr("S2");
    case Sector3:
        return tr("S3");
    case MejorSector1:
        return tr("Mejor S1");
    case MejorSector2:
        return tr("Mejor S2");
    case MejorSector3:
        return tr("Mejor S3");
    case VueltaIdeal:
        return tr("Vuelta ideal");
    default:
        return {};
    }
}

void CModeloClasificacion::ponFrame(long long frame) {
    const QString antes = titulo();
    frameActual = frame;
    recalcula();
    if (titulo() != antes) {
        emit tituloCambiado(titulo());
    }
}

void CModeloClasificacion::actualiza() {
    ponFrame(frameActual);
}

void CModeloClasificacion::ponNombres(QStringList nombresJugadores) {
    nombres = std::move(nombresJugadores);
    if (!puestos.empty()) {
        emit dataChanged(index(0, Jugador), index(rowCount() - 1, Jugador));
    }
}

void CModeloClasificacion::recalcula() {
    std::vector<zul::Puesto> nuevos;
    if (analisis != nullptr) {
        nuevos = analisis->clasificacion(frameActual);
    }
    if (nuevos.size() != puestos.size()) {
        // The race grew its first complete frame: the rows appear.
        beginResetModel();
        puestos = std::move(nuevos);
        endResetModel();
        return;
    }
    puestos = std::move(nuevos);
    if (!puestos.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

void CModeloClasificacion::ponJugadorSeguido(int jugador) {
    if (jugador == seguido) {
        return;
    }
    seguido = jugador;
    if (!puestos.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::BackgroundRole, Qt::FontRole});
    }
}

void CModeloClasificacion::ponFinal(bool esFinal) {
    if (esFinal == final) {
        return;
    }
    final = esFinal;
    emit tituloCambiado(titulo());
}

int CModeloClasificacion::jugadorEnFila(int fila) const {
    return fila >= 0 && static_cast<std::size_t>(fila) < puestos.size()
               ? puestos[static_cast<std::size_t>(fila)].jugador
               : -1;
}

int CModeloClasificacion::filaDeJugador(int jugador) const {
    const auto it = std::find_if(puestos.begin(), puestos.end(),
                                 [jugador](const zul::Puesto& p) { return p.jugador == jugador; });
    return it == puestos.end() ? -1 : static_cast<int>(it - puestos.begin());
}

QString CModeloClasificacion::titulo() const {
    const long long frames = analisis != nullptr ? analisis->framesAnalizados() : 0;
    if (frames == 0) {
        return tr("Clasificación");
    }
    const long long k = std::clamp(frameActual, 0LL, frames - 1);
    return (final ? tr("Clasificación final (paso %1)") : tr("Clasificación (paso %1)")).arg(k);
}
