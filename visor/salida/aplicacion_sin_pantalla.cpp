#include "salida/aplicacion_sin_pantalla.h"

#include "salida/texto_terminal.h"

namespace zul {

namespace {

void soloErroresGraves(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto) {
    if (tipo == QtCriticalMsg || tipo == QtFatalMsg) {
        escribe(stderr, qFormatLogMessage(tipo, contexto, texto) + QLatin1Char('\n'));
    }
}

} // namespace

AplicacionSinPantalla::AplicacionSinPantalla(char* programa) : argv{programa, nullptr} {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(soloErroresGraves);
    aplicacion = std::make_unique<QGuiApplication>(argc, argv);
}

AplicacionSinPantalla::~AplicacionSinPantalla() {
    aplicacion.reset();
    qInstallMessageHandler(nullptr);
}

} // namespace zul
