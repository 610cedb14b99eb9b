#include "programa/modo_ventana.h"

#include "datos/rutas.h"
#include "programa/linea_ordenes.h"
#include "programa/volcado.h"
#include "salida/texto_terminal.h"
#include "ventana/CDepuracionVentana.h"
#include "ventana/CDialogoAbrir.h"
#include "ventana/CGestorVentanas.h"
#include "ventana/CVentana.h"

#include <QAccessible>
#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <memory>
#include <new>
#include <thread>
#include <unistd.h>

namespace {

// While QApplication connects to the display: a platform that cannot start
// ends the program here, in Spanish and with status 1, where Qt would abort
// with a core dump. The platform's own notes about it are dropped.
void sinPantalla(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto) {
    if (tipo == QtFatalMsg) {
        zul::escribe(stderr,
                     QStringLiteral("visor: no hay pantalla en la que abrir la ventana (no se pudo "
                                    "iniciar la plataforma gráfica). Para dibujar la carrera sin "
                                    "pantalla, use «visor --png SALIDA.png CARRERA MAPA»; "
                                    "«visor --help» explica las opciones.\n"));
        std::_Exit(EXIT_FAILURE);
    }
    const char* categoria = contexto.category != nullptr ? contexto.category : "";
    if (qstrncmp(categoria, "qt.qpa", 6) == 0) {
        return;
    }
    zul::escribe(stderr, qFormatLogMessage(tipo, contexto, texto) + QLatin1Char('\n'));
}

// Running out of memory is told, never an abort: first on standard error,
// which needs no memory, then in a message box if one can still be built
// and is asked for.
void avisaFaltaMemoria(QWidget* padre, bool conCaja = true) noexcept {
    static const char kLinea[] = "visor: no hay memoria suficiente para mostrar la carrera\n";
    ssize_t escrito = write(STDERR_FILENO, kLinea, sizeof kLinea - 1);
    (void)escrito;
    if (!conCaja) {
        return;
    }
    try {
        QMessageBox caja(padre);
        caja.setWindowTitle(QObject::tr("ZUL Karts"));
        caja.setIcon(QMessageBox::Critical);
        caja.setText(QObject::tr("No hay memoria suficiente para mostrar la carrera."));
        caja.exec();
    } catch (...) {
        // The line above has said it already.
    }
}

// Whether one more thread can be started: each needs its stack's worth of
// address space, which a process short of memory lacks.
bool quedaSitioParaUnHilo() noexcept {
    try {
        std::thread([] {}).join();
        return true;
    } catch (...) {
        return false;
    }
}

// An allocation that fails while an event is handled (a repaint, a race
// opened from the window) would otherwise unwind through the event loop and
// abort: it ends the program here, told, with status 1.
class AplicacionVentana : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receptor, QEvent* evento) override {
        try {
            return QApplication::notify(receptor, evento);
        } catch (const std::bad_alloc&) {
            if (!avisado) {
                avisado = true;
                avisaFaltaMemoria(nullptr);
                exit(EXIT_FAILURE);
            }
            return false;
        }
    }

private:
    bool avisado = false;
};

} // namespace

int ejecutaModoVentana(int argc, char* argv[], bool enVivo, const QStringList& depuracion,
                       long long desfase, const QString& fantasma, zul::Alineacion alineacion) {
    // Not options of QApplication's: out before it reads the rest, so that
    // the paths are the first two arguments left.
    int quedan = 0;
    for (int i = 0; i < argc; ++i) {
        const QString argumento = QString::fromLocal8Bit(argv[i]);
        const int opcionVentana =
            std::max(zul::argumentosDeDepuracion(argumento), zul::argumentosDeFantasma(argumento));
        if (i > 0 && opcionVentana > 0) {
            i += opcionVentana - 1;
            continue;
        }
        if (i == 0 || !zul::esOpcionEnVivo(argumento)) {
            argv[quedan++] = argv[i];
        }
    }
    argc = quedan;
    argv[argc] = nullptr;
    const QtMessageHandler anterior = qInstallMessageHandler(sinPantalla);
    AplicacionVentana aplicacion(argc, argv);
    qInstallMessageHandler(anterior);
    // The first widget to ask starts the accessibility bridge, which starts a
    // D-Bus thread and waits forever for it when the thread cannot be made.
    // It starts here, once a thread is known to fit, so that no widget, not
    // even the out-of-memory box, hangs on it later.
    if (!quedaSitioParaUnHilo()) {
        avisaFaltaMemoria(nullptr, false);
        return EXIT_FAILURE;
    }
    QAccessible::isActive();
    CVolcado::instalaSiSePide(&aplicacion);
    // Qt's own dialogs (the file chooser, the buttons of message boxes) speak
    // Spanish like the rest of the viewer. The viewer's texts need no
    // translation: they are Spanish already.
    QTranslator traduccionQt;
    if (traduccionQt.load(QStringLiteral("qtbase_es"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&traduccionQt);
    }
    try {
        // QApplication has taken its own options out of argv already, and
        // the command line allows nothing else but the paths.
        CGestorVentanas gestor;
        if (argc > 2) {
            auto ventana = std::make_unique<CVentana>(argv[1], argv[2], nullptr,
                                                      enVivo ? CVentana::ModoCarrera::enVivo
                                                             : CVentana::ModoCarrera::grabada);
            QString errorFantasma;
            const bool sinFantasma =
                !fantasma.isEmpty() &&
                !ventana->telemetriaVentana()->cargaFantasma(fantasma, alineacion, &errorFantasma);
            CVentana* mostrada = ventana.get();
            gestor.muestra(std::move(ventana), zul::rutaDeBytes(argv[1]),
                           zul::rutaDeBytes(argv[2]));
            // A file refused is told in a box over the race, which stays.
            mostrada->depuracion()->ponDesfase(static_cast<long>(desfase));
            mostrada->depuracion()->carga(depuracion);
            if (sinFantasma) {
                auto* caja = new QMessageBox(QMessageBox::Warning, QObject::tr("Fantasma"),
                                             QObject::tr("No se pudo mostrar la carrera fantasma."),
                                             QMessageBox::Ok, mostrada);
                caja->setInformativeText(errorFantasma);
                caja->setAttribute(Qt::WA_DeleteOnClose);
                caja->open();
            }
        } else if (!gestor.abreConDialogo(argc > 1 ? zul::rutaDeBytes(argv[1]) : QString())) {
            return EXIT_SUCCESS; // the user cancelled the start dialog
        }
        return aplicacion.exec();
    } catch (std::exception* error) {
        std::unique_ptr<std::exception> propio(error);
        QMessageBox caja;
        explicaError(caja, *error);
        caja.show();
        aplicacion.exec();
        // The viewer could not show the race: that is a failure, whatever the
        // message box's event loop returned.
        return EXIT_FAILURE;
    } catch (const std::bad_alloc&) {
        // What the half-built window held is freed by now.
        avisaFaltaMemoria(nullptr);
        return EXIT_FAILURE;
    }
}
