#include "visor_sin_pantalla.h"

#include <QProcess>
#include <QProcessEnvironment>

ResultadoVisor ejecutaVisor(const QString& programa, const QString& carpeta,
                            const QStringList& argumentos, int esperaMs) {
    QProcess proceso;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        entorno.remove(QString::fromLatin1(variable));
    }
    proceso.setProcessEnvironment(entorno);
    proceso.setWorkingDirectory(carpeta);
    proceso.start(programa, argumentos);
    ResultadoVisor resultado;
    if (!proceso.waitForFinished(esperaMs) || proceso.exitStatus() != QProcess::NormalExit) {
        proceso.kill();
        proceso.waitForFinished();
        resultado.errores = QStringLiteral("el programa no terminó bien");
        return resultado;
    }
    resultado.estado = proceso.exitCode();
    resultado.salida = proceso.readAllStandardOutput();
    resultado.errores = QString::fromLocal8Bit(proceso.readAllStandardError());
    return resultado;
}
