// Videos written by the export and read back with libavformat: count, size,
// codec, duration, and the pictures themselves; then every way it can fail
// or be cancelled, which must leave no file behind.
#include "lectura_video.h"
#include "video/exportacion.h"
#include "video/interrupcion.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <unistd.h>

using namespace zul;

namespace {

// Frame k is a flat colour of its own (16 hues far apart) with a white square
// that moves with k, so both colour and position tell frames apart.
QColor colorDeFrame(long long frame) {
    return QColor::fromHsv(static_cast<int>(frame * 7 % 16) * 45 / 2, 200, 220);
}

QImage dibujoDePrueba(long long frame, QSize tamano) {
    QImage imagen(tamano, QImage::Format_RGB32);
    imagen.fill(colorDeFrame(frame));
    QPainter pintor(&imagen);
    const int lado = tamano.height() / 3;
    pintor.fillRect(static_cast<int>(frame * 3 % (tamano.width() - lado)), tamano.height() - lado,
                    lado, lado, Qt::white);
    return imagen;
}

// Most cases: a 64 x 48 video of frames 0 to `ultimo` in a temporary folder.
const QSize kPequeno(64, 48);

QImage dibujoPequeno(long long frame) {
    return dibujoDePrueba(frame, kPequeno);
}

OpcionesVideo enCarpeta(const QTemporaryDir& carpeta, const char* nombre, long long ultimo) {
    OpcionesVideo opciones;
    opciones.salida = carpeta.filePath(QLatin1String(nombre));
    opciones.tamano = kPequeno;
    opciones.ultimo = ultimo;
    return opciones;
}

// Which frame of K..M a decoded picture shows, by the colour of its corner.
long long frameVisto(const QImage& imagen, long long primero, long long ultimo) {
    long long r = 0, g = 0, b = 0;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const QRgb p = imagen.pixel(x, y);
            r += qRed(p);
            g += qGreen(p);
            b += qBlue(p);
        }
    }
    long long mejor = -1;
    long long distancia = 1LL << 62;
    for (long long k = primero; k <= ultimo; ++k) {
        const QColor c = colorDeFrame(k);
        const long long d =
            std::abs(r / 64 - c.red()) + std::abs(g / 64 - c.green()) + std::abs(b / 64 - c.blue());
        if (d < distancia) {
            distancia = d;
            mejor = k;
        }
    }
    return mejor;
}

// The folder's entries: after a failure it must be as it was.
QStringList contenido(const QString& carpeta) {
    return QDir(carpeta).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

struct Codificacion {
    const char* nombre;
    const char* archivo;
    const char* codec;
    QSize tamano;
    QSize codificado;
    long long primero, ultimo;
    int fps;
    double pasos;
    long long cuadros; // ⌈(M − K + 1) · F / S⌉
};

class VideoDecodificado : public ::testing::TestWithParam<Codificacion> {};

TEST_P(VideoDecodificado, DiceLoQueSeDibujo) {
    const Codificacion& c = GetParam();
    QTemporaryDir carpeta;
    ASSERT_TRUE(carpeta.isValid());
    OpcionesVideo opciones;
    opciones.salida = carpeta.filePath(QLatin1String(c.archivo));
    opciones.tamano = c.tamano;
    opciones.primero = c.primero;
    opciones.ultimo = c.ultimo;
    opciones.fps = c.fps;
    opciones.pasosPorSegundo = c.pasos;
    std::vector<long long> pedidos;
    std::vector<long long> informados;
    const ResultadoVideo resultado = exportaVideo(
        opciones,
        [&](long long frame) {
            pedidos.push_back(frame);
            return dibujoDePrueba(frame, c.tamano);
        },
        [&](const Progreso& p) { informados.push_back(p.hechos); });
    ASSERT_TRUE(resultado.bien()) << resultado.error.toStdString();
    EXPECT_TRUE(resultado.error.isEmpty());
    EXPECT_EQ(resultado.progreso.total, c.cuadros);
    EXPECT_EQ(resultado.progreso.hechos, c.cuadros);
    // One report per picture, then one when the file is out.
    ASSERT_EQ(informados.size(), static_cast<std::size_t>(c.cuadros + 1));
    EXPECT_EQ(informados.front(), 1);
    EXPECT_EQ(informados.back(), c.cuadros);
    // A repeated frame is drawn once.
    for (std::size_t i = 1; i < pedidos.size(); ++i) {
        EXPECT_LT(pedidos[i - 1], pedidos[i]);
    }
    EXPECT_EQ(contenido(carpeta.path()), QStringList{QLatin1String(c.archivo)});

    const VideoLeido leido = leeVideo(opciones.salida);
    ASSERT_TRUE(leido.error.isEmpty()) << leido.error.toStdString();
    EXPECT_EQ(leido.codec, c.codec);
    EXPECT_EQ(leido.formatoPixel, "yuv420p");
    EXPECT_EQ(QSize(leido.ancho, leido.alto), c.codificado);
    EXPECT_NEAR(leido.fps, c.fps, 1e-6);
    EXPECT_NEAR(leido.duracion, static_cast<double>(c.cuadros) / c.fps, 1.0 / c.fps + 1e-3);
    ASSERT_EQ(leido.cuadros.size(), static_cast<std::size_t>(c.cuadros));

    Planificacion plan;
    QString error;
    ASSERT_TRUE(planifica(c.primero, c.ultimo, c.fps, c.pasos, plan, error));
    for (std::size_t i = 0; i < leido.cuadros.size(); ++i) {
        EXPECT_EQ(frameVisto(leido.cuadros[i], c.primero, c.ultimo),
                  plan.frameDeCuadro(static_cast<long long>(i)))
            << "fotograma " << i;
    }
    // The middle picture against its source, padding cut off.
    const std::size_t medio = leido.cuadros.size() / 2;
    const QImage fuente =
        dibujoDePrueba(plan.frameDeCuadro(static_cast<long long>(medio)), c.tamano);
    const QImage decodificado = leido.cuadros[medio].copy(QRect(QPoint(0, 0), c.tamano));
    EXPECT_LT(diferenciaMedia(decodificado, fuente), 4.0);
    // An odd side is padded with a copy of the last column or row.
    if (c.codificado != c.tamano) {
        const QImage& entero = leido.cuadros[medio];
        const int x = c.codificado.width() - 1;
        const int y = c.codificado.height() - 1;
        EXPECT_LT(diferenciaMedia(entero.copy(x, 0, 1, y), entero.copy(x - 1, 0, 1, y)), 4.0);
        EXPECT_LT(diferenciaMedia(entero.copy(0, y, x, 1), entero.copy(0, y - 1, x, 1)), 4.0);
    }
    if (QFileInfo(opciones.salida).suffix() == QLatin1String("mp4")) {
        EXPECT_TRUE(indiceDelante(opciones.salida));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formatos, VideoDecodificado,
    ::testing::Values(
        Codificacion{
            "mp4_un_paso_por_fotograma", "a.mp4", "h264", {64, 48}, {64, 48}, 0, 11, 30, 30, 12},
        Codificacion{"mkv_salta_pasos", "b.mkv", "h264", {80, 64}, {80, 64}, 3, 14, 25, 50, 6},
        Codificacion{"webm_repite", "c.webm", "vp9", {64, 48}, {64, 48}, 0, 3, 30, 10, 12},
        Codificacion{"mp4_impar_y_fraccion", "d.MP4", "h264", {65, 49}, {66, 50}, 2, 6, 30, 20, 8},
        Codificacion{"webm_lento_decimal", "e.webm", "vp9", {48, 32}, {48, 32}, 5, 6, 10, 2.5, 8}),
    [](const auto& info) { return std::string(info.param.nombre); });

// What a failed export must look like: not done, a message naming the file,
// and the folder as it was (an earlier video of that name untouched).
void compruebaFallo(const ResultadoVideo& resultado, const QString& salida, const char* motivo,
                    const QStringList& antes, const QString& carpeta) {
    EXPECT_EQ(resultado.estado, EstadoVideo::Fallido);
    EXPECT_TRUE(resultado.error.contains(salida)) << resultado.error.toStdString();
    EXPECT_TRUE(resultado.error.contains(QString::fromUtf8(motivo)))
        << resultado.error.toStdString();
    EXPECT_EQ(contenido(carpeta), antes);
}

struct Fallo {
    const char* nombre;
    const char* archivo; // inside the temporary folder
    const char* motivo;  // part of the message
    QSize tamano;
    long long limiteBytes;
    bool codificadorFalso;
};

class VideoQueFalla : public ::testing::TestWithParam<Fallo> {};

TEST_P(VideoQueFalla, NoDejaArchivo) {
    const Fallo& f = GetParam();
    QTemporaryDir carpeta;
    ASSERT_TRUE(carpeta.isValid());
    ASSERT_TRUE(QDir(carpeta.path()).mkdir(QStringLiteral("carpeta.mp4")));
    QFile archivo(carpeta.filePath(QStringLiteral("archivo")));
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.close();
    QFile anterior(carpeta.filePath(QStringLiteral("anterior.mp4")));
    ASSERT_TRUE(anterior.open(QIODevice::WriteOnly));
    anterior.write("vídeo de antes");
    anterior.close();
    const QStringList antes = contenido(carpeta.path());

    static const FormatoVideo falso{"mp4", "mp4", "libx264_inexistente", "H.264"};
    OpcionesVideo opciones;
    opciones.salida = carpeta.filePath(QLatin1String(f.archivo));
    opciones.tamano = f.tamano;
    opciones.ultimo = 9;
    opciones.codificador.limiteBytes = f.limiteBytes;
    opciones.codificador.formato = f.codificadorFalso ? &falso : nullptr;
    const ResultadoVideo resultado =
        exportaVideo(opciones, [&](long long frame) { return dibujoDePrueba(frame, f.tamano); });
    compruebaFallo(resultado, opciones.salida, f.motivo, antes, carpeta.path());
    QFile despues(carpeta.filePath(QStringLiteral("anterior.mp4")));
    ASSERT_TRUE(despues.open(QIODevice::ReadOnly));
    EXPECT_EQ(despues.readAll(), QByteArray("vídeo de antes"));
}

INSTANTIATE_TEST_SUITE_P(
    Errores, VideoQueFalla,
    ::testing::Values(
        Fallo{"extension_desconocida",
              "v.avi",
              "la extensión «.avi» no es de vídeo",
              {64, 48},
              -1,
              false},
        Fallo{"sin_extension", "video", "no tiene extensión", {64, 48}, -1, false},
        Fallo{"falta_el_codificador",
              "v.mp4",
              "no tienen el codificador libx264_inexistente",
              {64, 48},
              -1,
              true},
        Fallo{"carpeta_inexistente", "no/v.mp4", "no existe", {64, 48}, -1, false},
        Fallo{"carpeta_que_es_archivo", "archivo/v.mp4", "no es una carpeta", {64, 48}, -1, false},
        Fallo{"nombre_demasiado_largo",
              "vvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvv"
              "vvvv"
              "vvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvv"
              "vvvv"
              "vvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvv.mp4",
              "el nombre del archivo es demasiado largo",
              {64, 48},
              -1,
              false},
        Fallo{"destino_es_carpeta", "carpeta.mp4", "no es un archivo normal", {64, 48}, -1, false},
        Fallo{"tamano_nulo", "v.mp4", "el tamaño 0x48", {0, 48}, -1, false},
        Fallo{"tamano_enorme", "v.webm", "el tamaño 9000x48", {9000, 48}, -1, false},
        Fallo{"disco_lleno_sobre_otro_video",
              "anterior.mp4",
              "el disco está lleno",
              {64, 48},
              0,
              false}),
    [](const auto& info) { return std::string(info.param.nombre); });

// A disk that fills at any point: early, half-way, on the last byte, and (for
// MP4, whose index is moved to the front at the very end, writing the file a
// second time) while the index moves.
TEST(VideoQueFalla, DiscoLlenoEnCualquierPunto) {
    QTemporaryDir carpeta;
    ASSERT_TRUE(carpeta.isValid());
    const auto dibuja = dibujoPequeno;
    for (const char* nombre : {"v.mp4", "v.webm", "v.mkv"}) {
        OpcionesVideo opciones = enCarpeta(carpeta, nombre, 9);
        ASSERT_TRUE(exportaVideo(opciones, dibuja).bien());
        const qint64 tamano = QFileInfo(opciones.salida).size();
        ASSERT_TRUE(QFile::remove(opciones.salida));
        std::vector<long long> limites{1, tamano / 2, tamano - 1};
        if (QFileInfo(opciones.salida).suffix() == QLatin1String("mp4")) {
            limites.push_back(tamano + tamano / 2);
        }
        for (const long long limite : limites) {
            opciones.codificador.limiteBytes = limite;
            SCOPED_TRACE(std::string(nombre) + " tras " + std::to_string(limite) + " bytes");
            compruebaFallo(exportaVideo(opciones, dibuja), opciones.salida, "el disco está lleno",
                           {}, carpeta.path());
        }
        // Just enough room: it works.
        opciones.codificador.limiteBytes = 2 * tamano;
        EXPECT_TRUE(exportaVideo(opciones, dibuja).bien()) << nombre;
        EXPECT_EQ(QFileInfo(opciones.salida).size(), tamano);
        ASSERT_TRUE(QFile::remove(opciones.salida));
    }
}

// The kernel's own ENOSPC, on a small tmpfs that disco_lleno.sh mounts: a
// video far larger than the disk fails, and one that fits still works.
TEST(DiscoDeVerdad, LlenoNoDejaArchivo) {
    const QString carpeta = qEnvironmentVariable("ZUL_CARPETA_LLENA");
    if (carpeta.isEmpty()) {
        GTEST_SKIP() << "solo con disco_lleno.sh";
    }
    OpcionesVideo opciones;
    opciones.salida = carpeta + QStringLiteral("/v.mkv");
    opciones.tamano = QSize(320, 240);
    opciones.ultimo = 29;
    // Noise does not compress: 30 pictures of it are megabytes.
    const auto ruido = [](long long frame) {
        QImage imagen(320, 240, QImage::Format_RGB32);
        quint32 x = static_cast<quint32>(frame) * 2654435761u + 1;
        for (int y = 0; y < imagen.height(); ++y) {
            auto* fila = reinterpret_cast<QRgb*>(imagen.scanLine(y));
            for (int i = 0; i < imagen.width(); ++i) {
                x ^= x << 13;
                x ^= x >> 17;
                x ^= x << 5;
                fila[i] = 0xff000000u | x;
            }
        }
        return imagen;
    };
    compruebaFallo(exportaVideo(opciones, ruido), opciones.salida, "el disco está lleno", {},
                   carpeta);
    opciones.tamano = kPequeno;
    EXPECT_TRUE(exportaVideo(opciones, dibujoPequeno).bien());
    EXPECT_EQ(contenido(carpeta), QStringList{QStringLiteral("v.mkv")});
}

TEST(VideoQueFalla, DibujoQueFalla) {
    QTemporaryDir carpeta;
    ASSERT_TRUE(carpeta.isValid());
    const OpcionesVideo opciones = enCarpeta(carpeta, "v.mkv", 5);
    const struct {
        const char* motivo;
        DibujaFrame dibuja;
    } casos[] = {
        {"no se pudo dibujar el paso 3",
         [](long long k) { return k == 3 ? QImage() : dibujoPequeno(k); }},
        {"la imagen mide 32x48 y el vídeo 64x48",
         [](long long k) { return dibujoDePrueba(k, QSize(k == 2 ? 32 : 64, 48)); }},
        {"al dibujar el paso 4: sin memoria",
         [](long long k) {
             if (k == 4) {
                 throw std::runtime_error("sin memoria");
             }
             return dibujoPequeno(k);
         }},
    };
    for (const auto& caso : casos) {
        compruebaFallo(exportaVideo(opciones, caso.dibuja), opciones.salida, caso.motivo, {},
                       carpeta.path());
    }
}

TEST(VideoQueFalla, IntervaloNoValido) {
    QTemporaryDir carpeta;
    ASSERT_TRUE(carpeta.isValid());
    OpcionesVideo opciones = enCarpeta(carpeta, "v.mp4", 4);
    opciones.primero = 5;
    int dibujados = 0;
    compruebaFallo(exportaVideo(opciones,
                                [&](long long) {
                                    ++dibujados;
                                    return QImage();
                                }),
                   opciones.salida, "está vacío", {}, carpeta.path());
    EXPECT_EQ(dibujados, 0);
}

TEST(VideoQueFalla, CarpetaSinPermiso) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root escribe en cualquier carpeta";
    }
    QTemporaryDir carpeta;
    ASSERT_TRUE(carpeta.isValid());
    const QString cerrada = carpeta.filePath(QStringLiteral("cerrada"));
    ASSERT_TRUE(QDir().mkdir(cerrada));
    QFile::setPermissions(cerrada, QFile::ReadOwner | QFile::ExeOwner);
    const OpcionesVideo opciones = enCarpeta(carpeta, "cerrada/v.mp4", 0);
    compruebaFallo(exportaVideo(opciones, dibujoPequeno), opciones.salida, "no hay permiso", {},
                   cerrada);
    QFile::setPermissions(cerrada, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Cancelling from the progress report, from the drawing callback through
// Ctrl+C, and during the last picture: never a file, never success.
TEST(VideoCancelado, NoDejaArchivo) {
    QTemporaryDir carpeta;
    ASSERT_TRUE(carpeta.isValid());
    const OpcionesVideo opciones = enCarpeta(carpeta, "v.mp4", 29);
    const auto dibuja = dibujoPequeno;

    for (const long long tras : {1LL, 17LL, 30LL}) {
        std::atomic<bool> cancelar{false};
        long long vistos = 0;
        const ResultadoVideo resultado = exportaVideo(
            opciones, dibuja,
            [&](const Progreso& p) {
                vistos = p.hechos;
                if (p.hechos == tras) {
                    cancelar = true;
                }
            },
            &cancelar);
        EXPECT_EQ(resultado.estado, EstadoVideo::Cancelado) << tras;
        EXPECT_EQ(vistos, tras);
        EXPECT_TRUE(resultado.error.contains(opciones.salida));
        EXPECT_TRUE(contenido(carpeta.path()).isEmpty());
    }

    const std::atomic<bool>& bandera = instalaCancelacionPorSenales();
    EXPECT_FALSE(bandera.load());
    const ResultadoVideo resultado = exportaVideo(
        opciones,
        [&](long long k) {
            if (k == 4) {
                std::raise(SIGINT);
            }
            return dibuja(k);
        },
        {}, &bandera);
    EXPECT_EQ(resultado.estado, EstadoVideo::Cancelado);
    EXPECT_EQ(resultado.progreso.hechos, 5);
    EXPECT_EQ(senalRecibida(), SIGINT);
    EXPECT_TRUE(contenido(carpeta.path()).isEmpty());
    // Installing again clears the flag: the next export starts afresh.
    EXPECT_FALSE(instalaCancelacionPorSenales().load());
    restauraSenales();
}

// The encoder on its own: used past its end, or dropped unfinished.
TEST(CodificadorVideo, SinTerminarNoDejaArchivo) {
    QTemporaryDir carpeta;
    ASSERT_TRUE(carpeta.isValid());
    const QString salida = carpeta.filePath(QStringLiteral("v.webm"));
    QString error;
    {
        CCodificadorVideo codificador;
        OpcionesCodificador opciones;
        ASSERT_TRUE(codificador.abre(salida, kPequeno, opciones, error));
        ASSERT_TRUE(codificador.agrega(dibujoPequeno(0), error));
        EXPECT_EQ(contenido(carpeta.path()).size(), 1); // the partial file
        EXPECT_FALSE(QFileInfo::exists(salida));
    }
    EXPECT_TRUE(contenido(carpeta.path()).isEmpty());

    CCodificadorVideo codificador;
    EXPECT_FALSE(codificador.agrega(dibujoPequeno(0), error));
    EXPECT_TRUE(error.contains(QStringLiteral("no está abierto")));
    EXPECT_FALSE(codificador.termina(error));
}

} // namespace
