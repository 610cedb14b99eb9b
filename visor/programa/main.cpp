#include "analisis/resultados.h"
#include "datos/escritura_segura.h"
#include "datos/rutas.h"
#include "programa/linea_ordenes.h"
#include "programa/modo_ventana.h"
#include "salida/aplicacion_sin_pantalla.h"
#include "salida/texto_terminal.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <iostream>

namespace {

// A mode that draws with no window: Qt's fonts and pictures, and no display.
int sinPantalla(char* programa, const std::function<int()>& modo) {
    const zul::AplicacionSinPantalla aplicacion(programa);
    return modo();
}

} // namespace

int main(int argc, char* argv[]) {
    // Whatever ends the program, a file being written is never left half
    // written: its partial file goes, and an earlier file stays.
    zul::instalaLimpiezaAlTerminar();
    QStringList argumentos;
    for (int i = 1; i < argc; ++i) {
        // Paths are bytes: each one reaches open() exactly as it was typed.
        argumentos.append(zul::rutaDeBytes(QByteArray(argv[i])));
    }
    zul::LineaDeOrdenes orden;
    QString error;
    // Every mode refuses a wrong command line before anything starts, so a
    // usage error never depends on a display.
    if (!zul::analizaLineaDeOrdenes(argumentos, orden, error)) {
        zul::escribe(stderr, zul::textoErrorUso(error));
        return zul::kSalidaUso;
    }
    switch (orden.modo) {
    case zul::Modo::Ayuda:
        zul::escribe(stdout, zul::textoAyuda());
        return zul::kSalidaBien;
    case zul::Modo::Version:
        zul::escribe(stdout, zul::textoVersion());
        return zul::kSalidaBien;
    case zul::Modo::Png:
        return sinPantalla(argv[0], [&] { return zul::ejecutaModoPng(orden.png); });
    case zul::Modo::Video:
        return sinPantalla(argv[0], [&] { return zul::ejecutaModoVideo(orden.video); });
    case zul::Modo::Html:
        return sinPantalla(argv[0], [&] { return zul::ejecutaModoHtml(orden.html); });
    case zul::Modo::Sitio:
        return sinPantalla(argv[0], [&] { return zul::ejecutaModoSitio(orden.sitio); });
    case zul::Modo::Resultados: {
        // Plain text and files only: no display, no application object.
        zul::OpcionesResultados opciones;
        opciones.formato = orden.formato;
        opciones.mapa = orden.mapaResultados;
        opciones.frame = orden.frameResultados;
        return zul::escribeResultados(orden.carreras, opciones, std::cout, std::cerr);
    }
    case zul::Modo::Telemetria:
        return zul::ejecutaModoTelemetria(orden.telemetria);
    case zul::Modo::Ventana:
        break;
    }
    return ejecutaModoVentana(argc, argv, orden.enVivo, orden.depuracion, orden.desfase,
                              orden.fantasma, orden.alineacion);
}
