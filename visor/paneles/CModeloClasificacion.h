#pragma once

#include "analisis/analisis.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

// The standings at the frame on show, as a table: one row per player, best
// first. Sector times stand out in purple when they are the best of the race
// so far and in green when they are the kart's own best. It reads the race analysis, which must
// outlive it, and holds no widget; the window puts it in a view.
class CModeloClasificacion : public QAbstractTableModel {
    Q_OBJECT

public:
    // The columns from Intervalo on need the track: only an analysis with a
    // map has them.
    enum Columna {
        Pos,
        Jugador,
        Vueltas,
        UltimaVuelta,
        MejorVuelta,
        Diferencia,
        Intervalo,
        Sector1,
        Sector2,
        Sector3,
        MejorSector1,
        MejorSector2,
        MejorSector3,
        VueltaIdeal,
        NumColumnas
    };
    static constexpr int kColumnasSinMapa = Intervalo;
    // The player index of a row, for the window to follow a clicked row.
    static constexpr int RolJugador = Qt::UserRole + 1;

    CModeloClasificacion(const zul::AnalisisCarrera* analisis, QStringList nombres,
                         QObject* parent = nullptr);

    int rowCount(const QModelIndex& padre = QModelIndex()) const override;
    int columnCount(const QModelIndex& padre = QModelIndex()) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion,
                        int rol = Qt::DisplayRole) const override;

    // Shows the standings at `frame`; a frame past the last complete one
    // shows that one.
    void ponFrame(long long frame);
    long long frame() const { return frameActual; }
    // Reads the analysis again, after it took in more frames.
    void actualiza();
    // Another race's players: a live log that was waited for, or replaced.
    void ponNombres(QStringList nombresJugadores);

    // The followed player's row stands out; -1 marks none.
    void ponJugadorSeguido(int jugador);
    int jugadorSeguido() const { return seguido; }

    // The final standings, once the replay has reached the end of the race.
    void ponFinal(bool final);
    bool esFinal() const { return final; }

    // The player in a row, or -1; the row of a player, or -1.
    int jugadorEnFila(int fila) const;
    int filaDeJugador(int jugador) const;

    // What the table is: "Clasificación (paso k)" or "Clasificación final
    // (paso k)", with k the frame the standings are for.
    QString titulo() const;

signals:
    void tituloCambiado(const QString& titulo);

private:
    void recalcula();

    const zul::AnalisisCarrera* analisis;
    QStringList nombres;
    std::vector<zul::Puesto> puestos;
    long long frameActual = 0;
    int seguido = -1;
    bool final = false;
};
