// Opening the two input files: why one does not open, through the plain
// function and through the real program's `--png` messages and exit status.
#include "datos/apertura.h"
#include "ventana/CDialogoAbrir.h"
#include "ventana/CVentana.h"
#include "visor_sin_pantalla.h"

#include <QApplication>
#include <QMessageBox>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class Apertura : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        escribe("carrera.txt", "1 a p 0.5 0.5 0 0 p 1.5 0.5 0 0");
        escribe("mapa.txt", "2 2 4 4 4 4");
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("carpeta")));
        // A FIFO nobody writes: opening it must not wait for a writer.
        ASSERT_EQ(mkfifo(ruta("tuberia").c_str(), 0600), 0);
    }

    std::string ruta(const char* nombre) const {
        return QFile::encodeName(dir.filePath(QString::fromUtf8(nombre))).toStdString();
    }
    void escribe(const char* nombre, const QByteArray& contenido) {
        QFile archivo(dir.filePath(QString::fromUtf8(nombre)));
        ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
        ASSERT_EQ(archivo.write(contenido), contenido.size());
    }

    QTemporaryDir dir;
};

TEST_F(Apertura, DiceElMotivo) {
    const struct {
        const char* nombre;
        const char* motivo; // empty: it opens
    } casos[] = {
        {"mapa.txt", ""},
        {"no-existe.txt", "no existe"},
        {"carpeta", "es una carpeta, no un archivo"},
        {"mapa.txt/dentro", "una parte de la ruta no es una carpeta"},
        {"tuberia", zul::kMotivoTuberia},
        {"", "no existe"},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        const std::string camino = caso.nombre[0] == '\0' ? std::string() : ruta(caso.nombre);
        const zul::Apertura a = zul::abreParaLeer(camino.c_str());
        EXPECT_EQ(a.archivo == nullptr, caso.motivo[0] != '\0');
        EXPECT_EQ(a.motivo, caso.motivo);
    }
}

TEST_F(Apertura, SinPermiso) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root lee cualquier archivo";
    }
    const std::string camino = ruta("mapa.txt");
    ASSERT_EQ(chmod(camino.c_str(), 0), 0);
    const zul::Apertura a = zul::abreParaLeer(camino.c_str());
    EXPECT_EQ(a.archivo, nullptr);
    EXPECT_EQ(a.motivo, "no hay permiso para leerlo");
}

TEST(Motivos, EnCastellanoParaCadaError) {
    EXPECT_EQ(zul::motivoDeError(EACCES), "no hay permiso para leerlo");
    EXPECT_EQ(zul::motivoDeError(EISDIR), "es una carpeta, no un archivo");
    EXPECT_EQ(zul::motivoDeError(ENAMETOOLONG), "la ruta es demasiado larga");
    EXPECT_EQ(zul::motivoDeError(EMFILE), "hay demasiados archivos abiertos");
    EXPECT_EQ(zul::motivoDeError(9999), "error del sistema número 9999");
}

// The window's message box: the plain text above, the reason beside the name.
TEST(Caja, MotivoJuntoAlArchivo) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char nombre[] = "prueba_apertura";
    char* argv[] = {nombre, nullptr};
    QApplication aplicacion(argc, argv);
    const struct {
        CVentana::excepcionArchivoNoAbre error;
        const char* informativo;
    } casos[] = {
        {CVentana::excepcionArchivoNoAbre("/x/no-existe.txt", "no existe"),
         "Motivo: no existe.\nArchivo: /x/no-existe.txt"},
        {CVentana::excepcionArchivoNoAbre("/x/y"), "Archivo: /x/y"},
        {CVentana::excepcionArchivoNoAbre(""), "Falta la ruta del archivo."},
    };
    for (const auto& caso : casos) {
        QMessageBox caja;
        explicaError(caja, caso.error);
        EXPECT_EQ(caja.text().toStdString(), "No se pudo abrir el archivo");
        EXPECT_EQ(caja.informativeText().toStdString(), caso.informativo);
    }
}

using Resultado = ResultadoVisor;

// `visor --png` with no display at all, from the test's folder.
Resultado visor(const QTemporaryDir& dir, const QStringList& argumentos) {
    return ejecutaVisor(QStringLiteral(ZUL_BINARIO_VISOR), dir.path(), argumentos);
}

TEST_F(Apertura, ElVisorLoExplica) {
    escribe("mapa_enorme.txt", "99999999999999999999 2 4");
    escribe("mapa_ancho.txt", "3 +99999999999999999999 4");
    const struct {
        const char* carrera;
        const char* mapa;
        const char* culpable;
        const char* dice;
    } casos[] = {
        {"carpeta", "mapa.txt", "carpeta",
         "No se pudo abrir el archivo (es una carpeta, no un archivo)"},
        {"carrera.txt", "carpeta", "carpeta",
         "No se pudo abrir el archivo (es una carpeta, no un archivo)"},
        {"no-existe.txt", "mapa.txt", "no-existe.txt", "No se pudo abrir el archivo (no existe)"},
        {"carrera.txt", "mapa.txt/x", "mapa.txt/x",
         "No se pudo abrir el archivo (una parte de la ruta no es una carpeta)"},
        {"tuberia", "mapa.txt", "tuberia",
         "No se pudo abrir el archivo (es una tubería (FIFO), no un archivo: solo --resultados lee "
         "de una tubería)"},
        {"carrera.txt", "tuberia", "tuberia",
         "No se pudo abrir el archivo (es una tubería (FIFO), no un archivo: solo --resultados lee "
         "de una tubería)"},
        {"carrera.txt", "mapa_enorme.txt", "mapa_enorme.txt",
         "El mapa declara un número de filas demasiado grande para leerlo."},
        {"carrera.txt", "mapa_ancho.txt", "mapa_ancho.txt",
         "El mapa declara un número de columnas demasiado grande para leerlo."},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.dice);
        const QString carrera = dir.filePath(QString::fromUtf8(caso.carrera));
        const QString mapa = dir.filePath(QString::fromUtf8(caso.mapa));
        const Resultado r =
            visor(dir, {QStringLiteral("--png"), QStringLiteral("x.png"), carrera, mapa});
        EXPECT_EQ(r.estado, 1);
        const QString esperado =
            QStringLiteral("visor: %1: %2\n")
                .arg(dir.filePath(QString::fromUtf8(caso.culpable)), QString::fromUtf8(caso.dice));
        EXPECT_EQ(r.errores.toStdString(), esperado.toStdString());
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("x.png"))));
    }
}

// A header of two thousand million rows and no column: no cell to draw, and
// the picture is the black background with the karts.
TEST_F(Apertura, MapaSinCeldasSePintaAlMomento) {
    for (const char* cabecera : {"2147483647 0", "0 2147483647"}) {
        SCOPED_TRACE(cabecera);
        escribe("vacio.txt", cabecera);
        const Resultado r = visor(dir, {QStringLiteral("--png"), QStringLiteral("vacio.png"),
                                        QStringLiteral("--hasta"), QStringLiteral("1"),
                                        dir.filePath(QStringLiteral("carrera.txt")),
                                        dir.filePath(QStringLiteral("vacio.txt"))});
        ASSERT_EQ(r.estado, 0) << r.errores.toStdString();
        for (const char* nombre : {"vacio-00000.png", "vacio-00001.png"}) {
            const QImage imagen(dir.filePath(QString::fromUtf8(nombre)));
            ASSERT_EQ(imagen.size(), QSize(512, 512)) << nombre;
            EXPECT_EQ(imagen.pixelColor(5, 5), QColor(Qt::black)) << nombre;
        }
    }
}

} // namespace
