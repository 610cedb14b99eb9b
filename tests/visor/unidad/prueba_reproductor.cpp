// The replay controller with no widget: steps, seeks, the pause at the end,
// reverse play, restart, the speed presets, the Director camera's followed
// player and live growth at the head and behind it. Each row is a script of
// requests and the state it must end in.
#include "control/CReproductor.h"
#include "reproduccion/carga.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

// Three players. Player 0 stands at x = 100 + k in frame k, so the karts tell
// the frame on show. Player 2 completes a lap in frame 1 and leads from
// there; player 1 completes two laps in frames 3 and 4 and leads from 4.
QByteArray frames(int desde, int hasta) {
    QByteArray texto;
    for (int k = desde; k < hasta; ++k) {
        const int vueltas1 = k >= 4 ? 2 : (k >= 3 ? 1 : 0);
        const int vueltas2 = k >= 1 ? 1 : 0;
        texto += "p " + QByteArray::number(100 + k) + " 1 0 0\n";
        texto += "p 1 " + QByteArray::number(k) + " 0 " + QByteArray::number(vueltas1) + "\n";
        texto += "p 2 " + QByteArray::number(k) + " 0 " + QByteArray::number(vueltas2) + "\n";
    }
    return texto;
}

const QByteArray kCabecera = "3 ana beto cu\n";

} // namespace

class PruebaReproductor : public QObject {
    Q_OBJECT

private slots:
    void guion_data();
    void guion();
};

void PruebaReproductor::guion_data() {
    QTest::addColumn<bool>("enVivo");
    // Requests, in order: t tick, e run, p pause, b backwards, r restart,
    // gK seek to K, E end, > and < speed presets, F pause at the end on,
    // D/S/P cameras, fJ follow J, cJ choose J; live: aN append N frames,
    // h half a frame, s look at the log.
    QTest::addColumn<QString>("guion");
    QTest::addColumn<int>("frame");
    QTest::addColumn<bool>("enMarcha");
    QTest::addColumn<int>("seguido");
    QTest::addColumn<double>("velocidad");

    // A replay of a race read whole (8 frames); it opens on frame 0.
    QTest::newRow("pasos") << false << "e t t t" << 3 << true << 0 << 1.0;
    QTest::newRow("sin pausa al final") << false << "g6 e t t t" << 7 << true << 0 << 1.0;
    QTest::newRow("pausa al final") << false << "F g5 e t t" << 7 << false << 0 << 1.0;
    QTest::newRow("salto al final en marcha") << false << "F e E" << 7 << false << 0 << 1.0;
    QTest::newRow("reiniciar") << false << "g5 e r" << 5 << true << 0 << 1.0;
    QTest::newRow("reiniciar y paso") << false << "g5 e r t t" << 1 << true << 0 << 1.0;
    QTest::newRow("hacia atrás") << false << "g3 b t" << 2 << true << 0 << 1.0;
    QTest::newRow("hacia atrás para en 0") << false << "g3 b t t t" << 0 << false << 0 << 1.0;
    QTest::newRow("hacia atrás y otra vez") << false << "g3 b b" << 3 << false << 0 << 1.0;
    QTest::newRow("en 0 no va atrás") << false << "b" << 0 << false << 0 << 1.0;
    QTest::newRow("hacia atrás y adelante") << false << "g3 b t e t" << 3 << true << 0 << 1.0;
    QTest::newRow("más rápido") << false << "> > >" << 0 << false << 0 << 10.0;
    QTest::newRow("tope rápido") << false << "> > > > > > > >" << 0 << false << 0 << 50.0;
    QTest::newRow("más lento") << false << "> < < <" << 0 << false << 0 << 0.25;
    QTest::newRow("seguir a uno") << false << "f2" << 0 << false << 2 << 1.0;
    QTest::newRow("seguir a quien no está") << false << "f1 f3 f-1" << 0 << false << 1 << 1.0;
    QTest::newRow("director al líder") << false << "g2 D" << 2 << false << 2 << 1.0;
    QTest::newRow("director cambia de líder") << false << "g2 D e t t" << 4 << true << 1 << 1.0;
    QTest::newRow("director atrás") << false << "g5 D g2" << 2 << false << 2 << 1.0;
    QTest::newRow("elegir deja el director") << false << "g5 D c0 g2" << 2 << false << 0 << 1.0;
    QTest::newRow("pista guarda el elegido") << false << "P c2 g5" << 5 << false << 2 << 1.0;

    // Live: the log holds 5 frames when live mode starts, which shows the
    // newest one and runs.
    QTest::newRow("vivo abre en la cabeza") << true << "" << 4 << true << 0 << 1.0;
    QTest::newRow("vivo sigue la cabeza") << true << "a3 s" << 7 << true << 0 << 1.0;
    QTest::newRow("vivo cabeza y ticks") << true << "a1 s t t a1 s" << 6 << true << 0 << 1.0;
    QTest::newRow("vivo paso a medias") << true << "a1 h s t" << 5 << true << 0 << 1.0;
    QTest::newRow("vivo medio paso y sigue") << true << "h s a2 s" << 6 << true << 0 << 1.0;
    QTest::newRow("vivo más rápido sigue") << true << "> > a4 s" << 8 << true << 0 << 5.0;
    QTest::newRow("vivo detrás") << true << "g1 a3 s" << 1 << true << 0 << 1.0;
    QTest::newRow("vivo detrás avanza") << true << "g1 a3 s t t" << 3 << true << 0 << 1.0;
    QTest::newRow("vivo alcanza y sigue") << true << "g3 t a2 s" << 6 << true << 0 << 1.0;
    QTest::newRow("vivo en pausa") << true << "p a3 s" << 4 << false << 0 << 1.0;
    QTest::newRow("vivo Fin sigue") << true << "p g1 a3 s E a1 s" << 8 << true << 0 << 1.0;
    QTest::newRow("vivo no pausa al final") << true << "F t t" << 4 << true << 0 << 1.0;
    QTest::newRow("vivo reiniciar") << true << "r t t" << 1 << true << 0 << 1.0;
    QTest::newRow("vivo director") << true << "D a1 s" << 5 << true << 1 << 1.0;
}

void PruebaReproductor::guion() {
    QFETCH(bool, enVivo);
    QFETCH(QString, guion);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString ruta = dir.filePath(QStringLiteral("carrera.txt"));
    const auto anade = [&ruta](const QByteArray& texto) {
        QFile archivo(ruta);
        QVERIFY(archivo.open(QIODevice::WriteOnly | QIODevice::Append));
        QCOMPARE(archivo.write(texto), texto.size());
    };
    int escritos = enVivo ? 5 : 8;
    anade(kCabecera + frames(0, escritos));

    CReproductor r;
    QSignalSpy cambios(&r, &CReproductor::seguidoCambiado);
    r.ponRuta(QFile::encodeName(ruta).toStdString());
    if (enVivo) {
        r.ponEnVivo(true);
    } else {
        r.ponCarrera(zul::cargaCarrera(r.ruta()));
        r.avanza();
    }
    int medio = 0; // records of a frame still being written
    for (const QString& instruccion : guion.split(' ', Qt::SkipEmptyParts)) {
        const QChar orden = instruccion[0];
        const int n = instruccion.mid(1).toInt();
        if (orden == 't') {
            QVERIFY(QMetaObject::invokeMethod(r.temporizador(), "timeout"));
        } else if (orden == 'e') {
            r.ejecuta();
        } else if (orden == 'p') {
            r.detiene();
        } else if (orden == 'b') {
            r.ejecutaHaciaAtras();
        } else if (orden == 'r') {
            r.reinicia();
        } else if (orden == 'g') {
            r.irAFrame(n);
        } else if (orden == 'E') {
            r.irAlFinal();
        } else if (orden == '>' || orden == '<') {
            r.ponVelocidadPreset(orden == '>' ? 1 : -1);
        } else if (orden == 'F') {
            r.ponPausaAlFinal(true);
        } else if (orden == 'D' || orden == 'S' || orden == 'P') {
            r.ponCamara(orden == 'D'   ? zul::Camara::Director
                        : orden == 'S' ? zul::Camara::Seguir
                                       : zul::Camara::Pista);
        } else if (orden == 'f') {
            r.sigue(n);
        } else if (orden == 'c') {
            r.elige(n);
        } else if (orden == 'a') {
            // The rest of a frame begun with h comes first.
            anade(frames(escritos, escritos + n).mid(medio));
            escritos += n;
            medio = 0;
        } else if (orden == 'h') {
            medio = static_cast<int>(frames(escritos, escritos + 1).indexOf('\n')) + 1;
            anade(frames(escritos, escritos + 1).left(medio));
        } else if (orden == 's') {
            r.sondea();
        } else {
            QFAIL(qPrintable(QStringLiteral("orden desconocida: ") + instruccion));
        }
    }
    QFETCH(int, frame);
    QFETCH(bool, enMarcha);
    QFETCH(int, seguido);
    QFETCH(double, velocidad);
    QCOMPARE(r.frame(), frame);
    QCOMPARE(std::llround(r.reproduccion().enPantalla().karts.at(0).posicion.x()) - 100, frame);
    QCOMPARE(r.enMarcha(), enMarcha);
    QCOMPARE(r.jugadorSeguido(), seguido);
    QCOMPARE(r.velocidad(), velocidad);
    QCOMPARE(r.temporizador()->interval(), static_cast<int>(1000.0 / velocidad));
    // Every change of the followed player was told, and only those.
    const int ultimo = cambios.isEmpty() ? 0 : cambios.constLast().at(0).toInt();
    QCOMPARE(ultimo, seguido);
    for (int i = 1; i < cambios.size(); ++i) {
        QVERIFY(cambios.at(i).at(0) != cambios.at(i - 1).at(0));
    }
    QCOMPARE(r.siguiendoLaCabeza(),
             enVivo && enMarcha && frame + 1 == static_cast<int>(r.carrera().framesCompletos()));
}

QTEST_GUILESS_MAIN(PruebaReproductor)
#include "prueba_reproductor.moc"
