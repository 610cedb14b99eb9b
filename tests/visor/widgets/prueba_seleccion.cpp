// The file chooser widget, the "Abrir carrera" dialog, and opening races from
// it at start-up and with Ctrl+O.
#include "datos/rutas.h"
#include "ventana/CDialogoAbrir.h"
#include "ventana/CGestorVentanas.h"
#include "ventana/CSeleccionarArchivo.h"
#include "ventana/CVentana.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstdio>
#include <functional>
#include <memory>
#include <sys/stat.h>

namespace {

const char* const kCarrera = "2 alfa beta\n"
                             "p 1.5 2.5 0 0\n"
                             "p 4 4 1.57 0\n";
const char* const kCarreraTres = "3 uno dos tres\n"
                                 "p 1 1 0 0\np 2 1 0 0\np 1 2 0 0\n";
const char* const kMapa = "2 3\n0 1 2\n3 5 4\n";

// Owns the pollers of one test, so that none outlives it.
QObject* ambito = nullptr;

// Runs `accion` on the modal widget of type T as soon as it is on show, from
// inside the event loop that it runs. If none shows within five seconds, the
// modal widget on show (if any) is closed so that the test fails instead of
// hanging.
template <typename T> void cuandoAparezca(std::function<void(T*)> accion) {
    auto* temporizador = new QTimer(ambito);
    auto intentos = std::make_shared<int>(0);
    QObject::connect(temporizador, &QTimer::timeout, [temporizador, intentos, accion] {
        auto* modal = qobject_cast<T*>(QApplication::activeModalWidget());
        if (modal != nullptr && modal->isVisible()) {
            temporizador->stop();
            temporizador->deleteLater();
            accion(modal);
        } else if (++*intentos > 500) {
            temporizador->stop();
            temporizador->deleteLater();
            if (QWidget* otro = QApplication::activeModalWidget()) {
                otro->close();
            }
        }
    });
    temporizador->start(10);
}

// Drives the open-file dialog like a user: types the name and accepts it, or
// cancels when the name is empty. Records what it saw.
struct DialogoArchivo {
    QString titulo;
    bool visto = false;
    bool modal = false;
    bool cerrado = false;
    QWidget* padre = nullptr;

    void responde(const QString& nombre) {
        cuandoAparezca<QFileDialog>([this, nombre](QFileDialog* dialogo) {
            visto = true;
            titulo = dialogo->windowTitle();
            modal = dialogo->isModal();
            padre = dialogo->parentWidget();
            if (nombre.isEmpty()) {
                dialogo->reject();
            } else {
                auto* campo = dialogo->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                if (campo != nullptr) {
                    campo->setText(nombre);
                } else {
                    dialogo->selectFile(nombre);
                }
                QMetaObject::invokeMethod(dialogo, "accept");
            }
            cerrado = !dialogo->isVisible();
            if (!cerrado) {
                dialogo->reject(); // fail, don't hang
            }
        });
    }
};

// What an error box said, once closed.
struct CajaVista {
    bool vista = false;
    QString texto;
    QString informativo;

    void cierraAlAparecer() {
        cuandoAparezca<QMessageBox>([this](QMessageBox* caja) {
            vista = true;
            texto = caja->text();
            informativo = caja->informativeText();
            caja->accept();
        });
    }
};

} // namespace

class PruebaSeleccion : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void disposicionYTextos();
    void obtenerArchivo_data();
    void obtenerArchivo();
    void examinarAceptado();
    void examinarCancelado();
    void botonAbreElDialogo();
    void dialogoDisposicion();
    void focoYTabulador_data();
    void focoYTabulador();
    void habilitaAceptar_data();
    void habilitaAceptar();
    void aceptarAbreLaVentana_data();
    void aceptarAbreLaVentana();
    void aceptarConErrorSigueAbierto_data();
    void aceptarConErrorSigueAbierto();
    void cancelar();
    void inicioConUnaRuta();
    void inicioCancelado();
    void inicioConErrorYReintento();
    void ctrlOReemplazaLaVentana();
    void ctrlOCanceladoConservaLaVentana();
    void abreDesdeRutas();

private:
    QString escribe(const QString& nombre, const QByteArray& contenido);
    std::unique_ptr<QTemporaryDir> dir;
};

void PruebaSeleccion::init() {
    ambito = new QObject;
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

void PruebaSeleccion::cleanup() {
    delete ambito;
    ambito = nullptr;
    // No modal widget may outlive its test.
    QCOMPARE(QApplication::activeModalWidget(), static_cast<QWidget*>(nullptr));
}

QString PruebaSeleccion::escribe(const QString& nombre, const QByteArray& contenido) {
    // Written under the path's own bytes, as the viewer opens it: a name need
    // not be UTF-8. A folder in the name is one level deep.
    const QString ruta = dir->filePath(nombre);
    const QByteArray bytes = zul::bytesDeRuta(ruta);
    ::mkdir(bytes.left(bytes.lastIndexOf('/')).constData(), 0777);
    std::FILE* archivo = std::fopen(bytes.constData(), "wb");
    if (archivo == nullptr ||
        std::fwrite(contenido.constData(), 1, contenido.size(), archivo) !=
            static_cast<std::size_t>(contenido.size()) ||
        std::fclose(archivo) != 0) {
        qFatal("no se pudo escribir %s", qPrintable(ruta));
    }
    return ruta;
}

void PruebaSeleccion::disposicionYTextos() {
    QWidget padre;
    auto* selector = new CSeleccionarArchivo(&padre);
    QCOMPARE(selector->parentWidget(), &padre);
    QVERIFY(!selector->isWindow());

    auto* disposicion = qobject_cast<QHBoxLayout*>(selector->layout());
    QVERIFY(disposicion != nullptr);
    QCOMPARE(disposicion->count(), 2);
    auto* linea = qobject_cast<QLineEdit*>(disposicion->itemAt(0)->widget());
    auto* boton = qobject_cast<QPushButton*>(disposicion->itemAt(1)->widget());
    QVERIFY(linea != nullptr);
    QVERIFY(boton != nullptr);
    QCOMPARE(boton->text(), QStringLiteral("Examinar..."));
    QVERIFY(linea->text().isEmpty());
    QCOMPARE(linea->parentWidget(), selector);
    QCOMPARE(boton->parentWidget(), selector);

    // The line edit is left of the button once laid out.
    padre.resize(400, 60);
    selector->resize(400, 40);
    padre.show();
    QVERIFY(QTest::qWaitForWindowExposed(&padre));
    QVERIFY(linea->geometry().right() < boton->geometry().left());
}

void PruebaSeleccion::obtenerArchivo_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QByteArray>("esperado");
    QTest::newRow("vacio") << QString() << QByteArray();
    QTest::newRow("ruta escrita") << QStringLiteral("/tmp/carreras/final 2.txt")
                                  << QByteArray("/tmp/carreras/final 2.txt");
    QTest::newRow("latin-1") << QStringLiteral("ñandú.txt")
                             << QByteArray("\xf1"
                                           "and\xfa.txt");
    QTest::newRow("fuera de latin-1")
        << QStringLiteral("€/Ωmega/日本.txt") << QByteArray("?/?mega/??.txt");
}

void PruebaSeleccion::obtenerArchivo() {
    QFETCH(QString, texto);
    QFETCH(QByteArray, esperado);
    CSeleccionarArchivo selector;
    QLineEdit* linea = selector.findChild<QLineEdit*>();
    QVERIFY(linea != nullptr);
    // Typed through the input method, which takes any character.
    QInputMethodEvent escritura;
    escritura.setCommitString(texto);
    QApplication::sendEvent(linea, &escritura);
    QCOMPARE(linea->text(), texto);
    const std::string archivo = selector.obtenerArchivo();
    QCOMPARE(QByteArray(archivo.data(), static_cast<qsizetype>(archivo.size())), esperado);
    QCOMPARE(selector.ruta(), texto);
}

void PruebaSeleccion::examinarAceptado() {
    const QString ruta = escribe(QStringLiteral("elegido.txt"), "x");
    CSeleccionarArchivo selector;
    selector.ponRuta(QStringLiteral("/otra/ruta.txt"));
    QSignalSpy cambios(&selector, &CSeleccionarArchivo::rutaCambiada);
    DialogoArchivo dialogo;
    dialogo.responde(ruta);
    selector.examinar();
    QVERIFY(dialogo.visto);
    QVERIFY(dialogo.cerrado);
    QCOMPARE(dialogo.titulo, QStringLiteral("Selecciona el archivo..."));
    QCOMPARE(selector.ruta(), ruta);
    QCOMPARE(QString::fromStdString(selector.obtenerArchivo()), ruta);
    QCOMPARE(cambios.count(), 1);
}

void PruebaSeleccion::examinarCancelado() {
    CSeleccionarArchivo selector;
    selector.ponRuta(QStringLiteral("/antes/carrera.txt"));
    DialogoArchivo dialogo;
    dialogo.responde(QString());
    selector.examinar();
    QVERIFY(dialogo.visto);
    QVERIFY(selector.ruta().isEmpty());
    QVERIFY(selector.obtenerArchivo().empty());
}

void PruebaSeleccion::botonAbreElDialogo() {
    const QString ruta = escribe(QStringLiteral("boton.txt"), "x");
    CSeleccionarArchivo selector;
    selector.show();
    QVERIFY(QTest::qWaitForWindowExposed(&selector));
    DialogoArchivo dialogo;
    dialogo.responde(ruta);
    QTest::mouseClick(selector.findChild<QPushButton*>(), Qt::LeftButton);
    QVERIFY(dialogo.visto);
    QVERIFY(dialogo.modal);
    QCOMPARE(dialogo.padre, &selector);
    QVERIFY(dialogo.cerrado);
    QCOMPARE(selector.ruta(), ruta);
}

void PruebaSeleccion::dialogoDisposicion() {
    CDialogoAbrir dialogo;
    QCOMPARE(dialogo.windowTitle(), QStringLiteral("Abrir carrera"));
    auto* filas = dialogo.findChild<QFormLayout*>();
    QVERIFY(filas != nullptr);
    QCOMPARE(filas->rowCount(), 2);
    const QList<CSeleccionarArchivo*> orden = {dialogo.selectorCarrera(), dialogo.selectorMapa()};
    const QStringList etiquetas = {QStringLiteral("Carrera:"), QStringLiteral("Mapa:")};
    for (int i = 0; i < 2; ++i) {
        auto* etiqueta = qobject_cast<QLabel*>(filas->itemAt(i, QFormLayout::LabelRole)->widget());
        QVERIFY(etiqueta != nullptr);
        QCOMPARE(etiqueta->text(), etiquetas[i]);
        QCOMPARE(filas->itemAt(i, QFormLayout::FieldRole)->widget(),
                 static_cast<QWidget*>(orden[i]));
    }
    QCOMPARE(dialogo.aceptar()->text(), QStringLiteral("Aceptar"));
    QCOMPARE(dialogo.cancelar()->text(), QStringLiteral("Cancelar"));
    QVERIFY(dialogo.aceptar()->isDefault());
    QVERIFY(dialogo.selectorCarrera()->ruta().isEmpty());
    QVERIFY(dialogo.selectorMapa()->ruta().isEmpty());
    QVERIFY(!dialogo.aceptar()->isEnabled());
}

void PruebaSeleccion::focoYTabulador_data() {
    QTest::addColumn<QString>("carrera");
    QTest::addColumn<QString>("mapa");
    QTest::addColumn<int>("inicial"); // index into the Tab order below
    QTest::newRow("vacio") << QString() << QString() << 0;
    QTest::newRow("con la carrera") << "c.txt" << QString() << 2;
    QTest::newRow("completo") << "c.txt"
                              << "m.txt" << 4;
}

void PruebaSeleccion::focoYTabulador() {
    QFETCH(QString, carrera);
    QFETCH(QString, mapa);
    QFETCH(int, inicial);
    CDialogoAbrir dialogo;
    dialogo.selectorCarrera()->ponRuta(carrera);
    dialogo.selectorMapa()->ponRuta(mapa);
    const QList<QWidget*> orden = {
        dialogo.selectorCarrera()->findChild<QLineEdit*>(),
        dialogo.selectorCarrera()->findChild<QPushButton*>(),
        dialogo.selectorMapa()->findChild<QLineEdit*>(),
        dialogo.selectorMapa()->findChild<QPushButton*>(),
        dialogo.aceptar(),
        dialogo.cancelar(),
    };
    dialogo.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialogo));
    QCOMPARE(QApplication::focusWidget(), orden[inicial]);
    if (inicial != 0) {
        return;
    }
    dialogo.selectorCarrera()->ponRuta(QStringLiteral("c.txt"));
    dialogo.selectorMapa()->ponRuta(QStringLiteral("m.txt")); // so Aceptar takes focus
    for (int i = 1; i < orden.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), orden[i]);
    }
}

void PruebaSeleccion::habilitaAceptar_data() {
    QTest::addColumn<QString>("carrera");
    QTest::addColumn<QString>("mapa");
    QTest::addColumn<bool>("habilitado");
    QTest::newRow("ninguna") << QString() << QString() << false;
    QTest::newRow("solo carrera") << "c.txt" << QString() << false;
    QTest::newRow("solo mapa") << QString() << "m.txt" << false;
    QTest::newRow("espacios") << "c.txt"
                              << "   " << false;
    QTest::newRow("las dos") << "c.txt"
                             << "m.txt" << true;
}

void PruebaSeleccion::habilitaAceptar() {
    QFETCH(QString, carrera);
    QFETCH(QString, mapa);
    QFETCH(bool, habilitado);
    CDialogoAbrir dialogo;
    // Typed by hand, as a user would.
    QTest::keyClicks(dialogo.selectorCarrera()->findChild<QLineEdit*>(), carrera);
    QTest::keyClicks(dialogo.selectorMapa()->findChild<QLineEdit*>(), mapa);
    QCOMPARE(dialogo.aceptar()->isEnabled(), habilitado);
    if (!habilitado) {
        // Return in a field reaches accept() even so: it does nothing.
        dialogo.accept();
        QCOMPARE(dialogo.result(), int(QDialog::Rejected));
        QVERIFY(dialogo.tomarVentana() == nullptr);
    }
    // Emptying a field disables it again.
    dialogo.selectorCarrera()->ponRuta(QString());
    QVERIFY(!dialogo.aceptar()->isEnabled());
}

void PruebaSeleccion::aceptarAbreLaVentana_data() {
    QTest::addColumn<QString>("carpeta");
    QTest::addColumn<bool>("conIntro");        // Return in the map field instead of a click
    QTest::addColumn<bool>("conIntroEnBoton"); // Return on the map's "Examinar..."
    QTest::newRow("ascii") << QStringLiteral("carreras") << false << false;
    QTest::newRow("intro") << QStringLiteral("carreras") << true << false;
    QTest::newRow("intro en examinar") << QStringLiteral("carreras") << false << true;
    // Paths that the 8-bit text of the fields cannot spell must still open.
    QTest::newRow("no latin-1") << QStringLiteral("ñandú €uro 日本") << false << false;
    // Nor UTF-8: a name given on the command line, bytes and all.
    QTest::newRow("no utf-8") << zul::rutaDeBytes("carreras \xff\xfe") << false << false;
}

void PruebaSeleccion::aceptarAbreLaVentana() {
    QFETCH(QString, carpeta);
    QFETCH(bool, conIntro);
    QFETCH(bool, conIntroEnBoton);
    const QString carrera = escribe(carpeta + QStringLiteral("/carrera.txt"), kCarrera);
    const QString mapa = escribe(carpeta + QStringLiteral("/mapa.txt"), kMapa);
    CDialogoAbrir dialogo;
    dialogo.selectorCarrera()->ponRuta(carrera);
    dialogo.selectorMapa()->ponRuta(mapa);
    dialogo.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialogo));
    CajaVista caja;
    caja.cierraAlAparecer(); // only in case one shows: none should
    if (conIntro) {
        auto* campoMapa = dialogo.selectorMapa()->findChild<QLineEdit*>();
        // As a user would: the field, then Return; Tab over "Examinar..." and
        // back must not make that button the default.
        campoMapa->setFocus();
        QTest::keyClick(campoMapa, Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(campoMapa));
        QTest::keyClick(campoMapa, Qt::Key_Return);
    } else if (conIntroEnBoton) {
        // Right after browsing, focus is on "Examinar...": Return still means
        // "Aceptar", not another browse.
        QWidget* examinar = dialogo.selectorMapa()->findChild<QPushButton*>();
        examinar->setFocus();
        QTest::keyClick(examinar, Qt::Key_Return);
    } else {
        QTest::mouseClick(dialogo.aceptar(), Qt::LeftButton);
    }
    QVERIFY2(!caja.vista, qPrintable(caja.texto + QLatin1Char(' ') + caja.informativo));
    QCOMPARE(dialogo.result(), int(QDialog::Accepted));
    QVERIFY(!dialogo.isVisible());
    std::unique_ptr<CVentana> ventana = dialogo.tomarVentana();
    QVERIFY(ventana != nullptr);
    QVERIFY(ventana->parentWidget() == nullptr);
    QCOMPARE(ventana->windowTitle(), QStringLiteral("ZUL Karts"));
    QCOMPARE(ventana->reproductor()->carrera().numJugadores, 2);
    QVERIFY(dialogo.tomarVentana() == nullptr); // handed over once
}

void PruebaSeleccion::aceptarConErrorSigueAbierto_data() {
    QTest::addColumn<QByteArray>("carrera"); // file content; "-" for a missing file
    QTest::addColumn<QByteArray>("mapa");
    QTest::addColumn<QString>("mensaje");
    QTest::addColumn<QString>("culpable");
    QTest::newRow("carrera no existe")
        << QByteArray("-") << QByteArray(kMapa) << "No se pudo abrir el archivo"
        << "carrera.txt";
    QTest::newRow("mapa no existe")
        << QByteArray(kCarrera) << QByteArray("-") << "No se pudo abrir el archivo"
        << "mapa.txt";
    QTest::newRow("carrera sin jugadores")
        << QByteArray("0") << QByteArray(kMapa) << "declara 0 jugadores"
        << "carrera.txt";
}

void PruebaSeleccion::aceptarConErrorSigueAbierto() {
    QFETCH(QByteArray, carrera);
    QFETCH(QByteArray, mapa);
    QFETCH(QString, mensaje);
    QFETCH(QString, culpable);
    const QString rutaCarrera = carrera == "-" ? dir->filePath(QStringLiteral("carrera.txt"))
                                               : escribe(QStringLiteral("carrera.txt"), carrera);
    const QString rutaMapa = mapa == "-" ? dir->filePath(QStringLiteral("mapa.txt"))
                                         : escribe(QStringLiteral("mapa.txt"), mapa);
    CDialogoAbrir dialogo;
    dialogo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialogo));
    dialogo.selectorCarrera()->ponRuta(rutaCarrera);
    dialogo.selectorMapa()->ponRuta(rutaMapa);
    CajaVista caja;
    caja.cierraAlAparecer();
    QTest::mouseClick(dialogo.aceptar(), Qt::LeftButton);
    QVERIFY(caja.vista);
    QVERIFY2(caja.texto.contains(mensaje), qPrintable(caja.texto));
    QVERIFY2(caja.informativo.endsWith(culpable), qPrintable(caja.informativo));
    // Back to the dialog, fields as they were, ready for another try.
    QVERIFY(dialogo.isVisible());
    QCOMPARE(dialogo.result(), int(QDialog::Rejected));
    QVERIFY(dialogo.tomarVentana() == nullptr);
    QCOMPARE(dialogo.selectorCarrera()->ruta(), rutaCarrera);
    QCOMPARE(dialogo.selectorMapa()->ruta(), rutaMapa);

    // The missing file appears: the same dialog now opens the race.
    escribe(QStringLiteral("carrera.txt"), kCarrera);
    escribe(QStringLiteral("mapa.txt"), kMapa);
    QTest::mouseClick(dialogo.aceptar(), Qt::LeftButton);
    QCOMPARE(dialogo.result(), int(QDialog::Accepted));
    QVERIFY(dialogo.tomarVentana() != nullptr);
}

void PruebaSeleccion::cancelar() {
    CDialogoAbrir dialogo;
    dialogo.selectorCarrera()->ponRuta(escribe(QStringLiteral("carrera.txt"), kCarrera));
    dialogo.selectorMapa()->ponRuta(escribe(QStringLiteral("mapa.txt"), kMapa));
    cuandoAparezca<CDialogoAbrir>(
        [](CDialogoAbrir* abierto) { QTest::mouseClick(abierto->cancelar(), Qt::LeftButton); });
    QCOMPARE(dialogo.exec(), int(QDialog::Rejected));
    QVERIFY(dialogo.tomarVentana() == nullptr);
}

void PruebaSeleccion::inicioConUnaRuta() {
    const QString carrera = escribe(QStringLiteral("carrera.txt"), kCarrera);
    const QString mapa = escribe(QStringLiteral("mapa.txt"), kMapa);
    CGestorVentanas gestor;
    QString prellenada;
    bool aceptarAntes = true;
    cuandoAparezca<CDialogoAbrir>([&](CDialogoAbrir* dialogo) {
        prellenada = dialogo->selectorCarrera()->ruta();
        aceptarAntes = dialogo->aceptar()->isEnabled();
        dialogo->selectorMapa()->ponRuta(mapa);
        QTest::mouseClick(dialogo->aceptar(), Qt::LeftButton);
    });
    QVERIFY(gestor.abreConDialogo(carrera));
    QCOMPARE(prellenada, carrera);
    QVERIFY(!aceptarAntes);
    CVentana* ventana = gestor.ventanaActual();
    QVERIFY(ventana != nullptr);
    QVERIFY(ventana->isVisible());
    QCOMPARE(ventana->windowTitle(), QStringLiteral("ZUL Karts"));
    QCOMPARE(ventana->reproductor()->carrera().numJugadores, 2);
}

void PruebaSeleccion::inicioCancelado() {
    CGestorVentanas gestor;
    cuandoAparezca<CDialogoAbrir>([](CDialogoAbrir* dialogo) { dialogo->reject(); });
    QVERIFY(!gestor.abreConDialogo());
    QVERIFY(gestor.ventanaActual() == nullptr);
}

void PruebaSeleccion::inicioConErrorYReintento() {
    const QString mapa = escribe(QStringLiteral("mapa.txt"), kMapa);
    const QString falta = dir->filePath(QStringLiteral("no-existe.txt"));
    CGestorVentanas gestor;
    CajaVista caja;
    bool seguiaAbierto = false;
    cuandoAparezca<CDialogoAbrir>([&](CDialogoAbrir* dialogo) {
        dialogo->selectorMapa()->ponRuta(mapa);
        caja.cierraAlAparecer();
        QTest::mouseClick(dialogo->aceptar(), Qt::LeftButton); // runs the error box
        seguiaAbierto = dialogo->isVisible();
        dialogo->selectorCarrera()->ponRuta(escribe(QStringLiteral("bien.txt"), kCarrera));
        QTest::mouseClick(dialogo->aceptar(), Qt::LeftButton);
    });
    QVERIFY(gestor.abreConDialogo(falta));
    QVERIFY(caja.vista);
    QCOMPARE(caja.texto, QStringLiteral("No se pudo abrir el archivo"));
    QVERIFY(caja.informativo.contains(QStringLiteral("no-existe.txt")));
    QVERIFY(seguiaAbierto);
    QVERIFY(gestor.ventanaActual() != nullptr);
}

void PruebaSeleccion::ctrlOReemplazaLaVentana() {
    const QString carrera = escribe(QStringLiteral("carrera.txt"), kCarrera);
    const QString mapa = escribe(QStringLiteral("mapa.txt"), kMapa);
    const QString otra = escribe(QStringLiteral("otra.txt"), kCarreraTres);
    CGestorVentanas gestor;
    gestor.muestra(std::make_unique<CVentana>(QFile::encodeName(carrera).constData(),
                                              QFile::encodeName(mapa).constData()),
                   carrera, mapa);
    QPointer<CVentana> vieja = gestor.ventanaActual();
    QVERIFY(QTest::qWaitForWindowExposed(vieja));
    vieja->setGeometry(40, 30, 800, 600);
    vieja->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(vieja));

    QString carreraOfrecida;
    QString mapaOfrecido;
    cuandoAparezca<CDialogoAbrir>([&](CDialogoAbrir* dialogo) {
        carreraOfrecida = dialogo->selectorCarrera()->ruta();
        mapaOfrecido = dialogo->selectorMapa()->ruta();
        dialogo->selectorCarrera()->ponRuta(otra);
        QTest::mouseClick(dialogo->aceptar(), Qt::LeftButton);
    });
    QTest::keyClick(vieja, Qt::Key_O, Qt::ControlModifier);

    // The dialog offered the race on show.
    QCOMPARE(carreraOfrecida, carrera);
    QCOMPARE(mapaOfrecido, mapa);
    CVentana* nueva = gestor.ventanaActual();
    QVERIFY(nueva != nullptr);
    QVERIFY(nueva != vieja);
    QVERIFY(nueva->isVisible());
    QCOMPARE(nueva->reproductor()->carrera().numJugadores, 3);
    QCOMPARE(nueva->geometry(), QRect(40, 30, 800, 600));
    // The old window and its recorded race are gone.
    QTRY_VERIFY(vieja.isNull());

    // The new window answers Ctrl+O too.
    nueva->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(nueva));
    bool otraVez = false;
    cuandoAparezca<CDialogoAbrir>([&](CDialogoAbrir* dialogo) {
        otraVez = dialogo->selectorCarrera()->ruta() == otra;
        dialogo->reject();
    });
    QTest::keyClick(nueva, Qt::Key_O, Qt::ControlModifier);
    QVERIFY(otraVez);
}

void PruebaSeleccion::ctrlOCanceladoConservaLaVentana() {
    const QString carrera = escribe(QStringLiteral("carrera.txt"), kCarrera);
    const QString mapa = escribe(QStringLiteral("mapa.txt"), kMapa);
    CGestorVentanas gestor;
    gestor.muestra(std::make_unique<CVentana>(QFile::encodeName(carrera).constData(),
                                              QFile::encodeName(mapa).constData()),
                   carrera, mapa);
    CVentana* ventana = gestor.ventanaActual();
    QVERIFY(QTest::qWaitForWindowExposed(ventana));
    ventana->step();
    const std::uint32_t frame = ventana->reproductor()->reproduccion().siguienteFrame();

    // A bad choice shows its error; cancelling then leaves the race as it was.
    CajaVista caja;
    cuandoAparezca<CDialogoAbrir>([&](CDialogoAbrir* dialogo) {
        dialogo->selectorMapa()->ponRuta(dir->filePath(QStringLiteral("no-existe.txt")));
        caja.cierraAlAparecer();
        QTest::mouseClick(dialogo->aceptar(), Qt::LeftButton);
        QTest::mouseClick(dialogo->cancelar(), Qt::LeftButton);
    });
    QVERIFY(!gestor.abreOtra());
    QVERIFY(caja.vista);
    QCOMPARE(gestor.ventanaActual(), ventana);
    QVERIFY(ventana->isVisible());
    QCOMPARE(ventana->reproductor()->reproduccion().siguienteFrame(), frame);
}

// The same opening for paths that come from elsewhere (files dropped on the
// window): the error over the window on show, or a new window in its place.
void PruebaSeleccion::abreDesdeRutas() {
    const QString carrera = escribe(QStringLiteral("carrera.txt"), kCarrera);
    const QString mapa = escribe(QStringLiteral("mapa.txt"), kMapa);
    const QString otra = escribe(QStringLiteral("otra.txt"), kCarreraTres);
    CGestorVentanas gestor;
    QVERIFY(gestor.abre(carrera, mapa));
    QPointer<CVentana> primera = gestor.ventanaActual();
    QVERIFY(primera != nullptr);
    QVERIFY(primera->isVisible());

    CajaVista caja;
    caja.cierraAlAparecer();
    QVERIFY(!gestor.abre(otra, dir->filePath(QStringLiteral("no-existe.txt"))));
    QVERIFY(caja.vista);
    QVERIFY(caja.informativo.endsWith(QStringLiteral("no-existe.txt")));
    QCOMPARE(gestor.ventanaActual(), primera.data());
    QVERIFY(primera->isVisible());

    QVERIFY(gestor.abre(otra, mapa));
    QCOMPARE(gestor.ventanaActual()->reproductor()->carrera().numJugadores, 3);
    QTRY_VERIFY(primera.isNull());
}

QTEST_MAIN(PruebaSeleccion)
#include "prueba_seleccion.moc"
