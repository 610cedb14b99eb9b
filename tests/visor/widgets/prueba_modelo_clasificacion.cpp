// The standings table model: rows by position at the frame it is given, the
// followed player's row, the name colours and the "Final" mark.
#include "carrera_de_vueltas.h"
#include "paneles/CModeloClasificacion.h"

#include "geometria/colores.h"

#include <QColor>
#include <QFont>
#include <QSignalSpy>
#include <QTest>

namespace {

// beto completes lap 1 at frame 1, ana at 2, cu at 3.
const std::vector<std::vector<int>> kVueltas = {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 1, 1}};
const QStringList kNombres = {"ana", "beto", "cu"};

QStringList filas(const CModeloClasificacion& modelo) {
    QStringList lista;
    for (int f = 0; f < modelo.rowCount(); ++f) {
        QStringList celdas;
        for (int c = 0; c < modelo.columnCount(); ++c) {
            celdas.append(modelo.data(modelo.index(f, c)).toString());
        }
        lista.append(celdas.join(QLatin1Char('|')));
    }
    return lista;
}

} // namespace

class PruebaModeloClasificacion : public QObject {
    Q_OBJECT

private slots:
    void cabeceras() {
        const zul::AnalisisCarrera analisis(carreraDeVueltas(3, kVueltas));
        const CModeloClasificacion modelo(&analisis, kNombres);
        QStringList textos;
        for (int c = 0; c < modelo.columnCount(); ++c) {
            textos.append(modelo.headerData(c, Qt::Horizontal).toString());
        }
        QCOMPARE(textos, QStringList({"Pos", "Jugador", "Vueltas", "Última vuelta", "Mejor vuelta",
                                      "Diferencia"}));
    }

    void sigueElFrame_data() {
        QTest::addColumn<long long>("frame");
        QTest::addColumn<QStringList>("esperadas");
        QTest::newRow("salida") << 0LL
                                << QStringList{"1|ana|0|-|-|Líder", "2|beto|0|-|-|+0 pasos",
                                               "3|cu|0|-|-|+0 pasos"};
        QTest::newRow("beto delante")
            << 1LL
            << QStringList{"1|beto|1|1|1|Líder", "2|ana|0|-|-|+1 vuelta", "3|cu|0|-|-|+1 vuelta"};
        QTest::newRow("empate por paso")
            << 3LL
            << QStringList{"1|beto|1|1|1|Líder", "2|ana|1|2|2|+1 paso", "3|cu|1|3|3|+2 pasos"};
        QTest::newRow("más allá del final")
            << 99LL
            << QStringList{"1|beto|1|1|1|Líder", "2|ana|1|2|2|+1 paso", "3|cu|1|3|3|+2 pasos"};
    }

    // Seeks and steps in any order: every frame given shows its standings,
    // through dataChanged.
    void sigueElFrame() {
        QFETCH(long long, frame);
        QFETCH(QStringList, esperadas);
        const zul::AnalisisCarrera analisis(carreraDeVueltas(3, kVueltas));
        CModeloClasificacion modelo(&analisis, kNombres);
        for (const long long antes : {0LL, 3LL, 1LL, 2LL}) {
            modelo.ponFrame(antes);
            QSignalSpy cambios(&modelo, &QAbstractItemModel::dataChanged);
            modelo.ponFrame(frame);
            QCOMPARE(filas(modelo), esperadas);
            QCOMPARE(cambios.count(), 1);
        }
        QCOMPARE(modelo.frame(), frame);
    }

    void colorYJugadorDeCadaFila() {
        const zul::AnalisisCarrera analisis(carreraDeVueltas(3, kVueltas));
        CModeloClasificacion modelo(&analisis, kNombres);
        modelo.ponFrame(3);
        const int jugadores[] = {1, 0, 2};
        for (int f = 0; f < 3; ++f) {
            const QModelIndex nombre = modelo.index(f, CModeloClasificacion::Jugador);
            QCOMPARE(modelo.data(nombre, CModeloClasificacion::RolJugador).toInt(), jugadores[f]);
            QCOMPARE(modelo.jugadorEnFila(f), jugadores[f]);
            QCOMPARE(modelo.filaDeJugador(jugadores[f]), f);
            QCOMPARE(modelo.data(nombre, Qt::ForegroundRole).value<QColor>(),
                     QColor(QStringLiteral("#") + zul::colorEtiqueta(jugadores[f])));
            QVERIFY(!modelo.data(modelo.index(f, CModeloClasificacion::Pos), Qt::ForegroundRole)
                         .isValid());
        }
        QCOMPARE(modelo.jugadorEnFila(3), -1);
        QCOMPARE(modelo.filaDeJugador(7), -1);
    }

    // The followed player's row stands out wherever the standings put it.
    void filaDelSeguido() {
        const zul::AnalisisCarrera analisis(carreraDeVueltas(3, kVueltas));
        CModeloClasificacion modelo(&analisis, kNombres);
        QSignalSpy cambios(&modelo, &QAbstractItemModel::dataChanged);
        modelo.ponJugadorSeguido(0);
        QCOMPARE(cambios.count(), 1);
        modelo.ponJugadorSeguido(0);
        QCOMPARE(cambios.count(), 1);
        for (const long long frame : {0LL, 1LL, 3LL}) {
            modelo.ponFrame(frame);
            for (int f = 0; f < modelo.rowCount(); ++f) {
                const bool seguido = modelo.jugadorEnFila(f) == 0;
                for (int c = 0; c < modelo.columnCount(); ++c) {
                    const QModelIndex i = modelo.index(f, c);
                    QCOMPARE(modelo.data(i, Qt::BackgroundRole).isValid(), seguido);
                    QCOMPARE(modelo.data(i, Qt::FontRole).value<QFont>().bold(), seguido);
                }
            }
        }
        modelo.ponJugadorSeguido(-1);
        QVERIFY(!modelo.data(modelo.index(1, 0), Qt::BackgroundRole).isValid());
    }

    void marcaFinal() {
        const zul::AnalisisCarrera analisis(carreraDeVueltas(3, kVueltas));
        CModeloClasificacion modelo(&analisis, kNombres);
        QSignalSpy titulos(&modelo, &CModeloClasificacion::tituloCambiado);
        modelo.ponFrame(3);
        QCOMPARE(modelo.titulo(), QStringLiteral("Clasificación (paso 3)"));
        modelo.ponFinal(true);
        QVERIFY(modelo.esFinal());
        QCOMPARE(modelo.titulo(), QStringLiteral("Clasificación final (paso 3)"));
        QCOMPARE(titulos.count(), 2);
        QCOMPARE(titulos.last().first().toString(), modelo.titulo());
        modelo.ponFinal(false);
        QCOMPARE(modelo.titulo(), QStringLiteral("Clasificación (paso 3)"));
    }

    // A race that had no complete frame gets its rows once it has one.
    void carreraQueCrece() {
        zul::Carrera c = carreraDeVueltas(3, {{0, 0}});
        zul::AnalisisCarrera analisis(c);
        CModeloClasificacion modelo(&analisis, kNombres);
        QCOMPARE(modelo.rowCount(), 0);
        QCOMPARE(modelo.titulo(), QStringLiteral("Clasificación"));
        c = carreraDeVueltas(3, kVueltas);
        analisis.extiende(c);
        QSignalSpy reinicios(&modelo, &QAbstractItemModel::modelReset);
        modelo.ponFrame(2);
        QCOMPARE(reinicios.count(), 1);
        QCOMPARE(modelo.rowCount(), 3);
        QCOMPARE(filas(modelo).first(), QStringLiteral("1|beto|1|1|1|Líder"));
    }
};

QTEST_MAIN(PruebaModeloClasificacion)
#include "prueba_modelo_clasificacion.moc"
