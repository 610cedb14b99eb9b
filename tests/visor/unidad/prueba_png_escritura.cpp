// Saving a PNG when the disk fails: every write, the sync and the close are
// checked, and a failed save leaves no partial file.
#include "salida/guardar_png.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How the calls fail in one case.
struct Guion {
    const char* nombre;
    int escriturasBien = 1 << 30;  // writes that succeed before the first failure
    ssize_t largoMaximo = 1 << 30; // a write takes at most this many bytes
    int errorEscritura = ENOSPC;   // what the failing write says (0: it writes nothing)
    int errorSincroniza = 0;
    int errorCierra = 0;
    int interrupciones = 0; // EINTR answers before the writes proceed
    const char* motivo;     // nullptr: the save succeeds
};

Guion guion;
int escrituras = 0;

ssize_t escribe(int fd, const void* datos, size_t largo) {
    if (guion.interrupciones > 0) {
        --guion.interrupciones;
        errno = EINTR;
        return -1;
    }
    if (escrituras++ >= guion.escriturasBien) {
        errno = guion.errorEscritura;
        return guion.errorEscritura == 0 ? 0 : -1;
    }
    return ::write(fd, datos, std::min<size_t>(largo, static_cast<size_t>(guion.largoMaximo)));
}

int sincroniza(int fd) {
    if (guion.errorSincroniza != 0) {
        errno = guion.errorSincroniza;
        return -1;
    }
    return ::fsync(fd);
}

int cierra(int fd) {
    const int r = ::close(fd); // closed either way, as the system does
    if (guion.errorCierra != 0) {
        errno = guion.errorCierra;
        return -1;
    }
    return r;
}

const zul::LlamadasEscritura kLlamadas = {&escribe, &sincroniza, &cierra};

class EscrituraPng : public testing::TestWithParam<Guion> {};

QImage imagenDePrueba() {
    QImage imagen(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < imagen.height(); ++y) {
        for (int x = 0; x < imagen.width(); ++x) {
            imagen.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
        }
    }
    return imagen;
}

TEST_P(EscrituraPng, ComoLaPideElDisco) {
    guion = GetParam();
    escrituras = 0;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString ruta = dir.filePath(QStringLiteral("vista.png"));
    {
        QFile anterior(ruta);
        ASSERT_TRUE(anterior.open(QIODevice::WriteOnly));
        anterior.write("la imagen de antes");
    }
    const QImage imagen = imagenDePrueba();
    QString error;
    const bool bien = zul::guardaPng(imagen, ruta, error, kLlamadas);
    // Only the picture is left in the folder, never a partial file beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("vista.png")});
    if (guion.motivo == nullptr) {
        EXPECT_TRUE(bien) << error.toStdString();
        EXPECT_EQ(QImage(ruta, "PNG"), imagen);
        return;
    }
    EXPECT_FALSE(bien);
    EXPECT_EQ(error.toStdString(),
              "No se pudo guardar la imagen en " + ruta.toStdString() + ": " + guion.motivo + ".");
    QFile anterior(ruta);
    ASSERT_TRUE(anterior.open(QIODevice::ReadOnly));
    EXPECT_EQ(anterior.readAll(), QByteArray("la imagen de antes"));
}

Guion caso(const char* nombre, const char* motivo) {
    Guion g;
    g.nombre = nombre;
    g.motivo = motivo;
    return g;
}

Guion conEscriturasBien(Guion g, int n) {
    g.escriturasBien = n;
    return g;
}

Guion conLargoMaximo(Guion g, ssize_t n) {
    g.largoMaximo = n;
    return g;
}

INSTANTIATE_TEST_SUITE_P(
    Casos, EscrituraPng,
    testing::Values(
        caso("sin_fallos", nullptr),
        // Short writes and interruptions are continued, not taken as the end.
        conLargoMaximo(caso("escrituras_cortas", nullptr), 7),
        [] {
            Guion g = caso("interrumpida", nullptr);
            g.interrupciones = 3;
            return g;
        }(),
        conEscriturasBien(caso("disco_lleno_al_empezar", "no queda espacio en el disco"), 0),
        conEscriturasBien(
            conLargoMaximo(caso("disco_lleno_a_medias", "no queda espacio en el disco"), 100), 5),
        [] {
            Guion g = conEscriturasBien(
                caso("escritura_que_no_avanza", "no queda espacio en el disco"), 2);
            g.largoMaximo = 10;
            g.errorEscritura = 0;
            return g;
        }(),
        [] {
            Guion g = conEscriturasBien(caso("cuota", "se acabó la cuota de disco"), 1);
            g.errorEscritura = EDQUOT;
            g.largoMaximo = 50;
            return g;
        }(),
        [] {
            Guion g = caso("falla_al_sincronizar", "error de entrada o salida");
            g.errorSincroniza = EIO;
            return g;
        }(),
        // Network file systems may say so only at the close.
        [] {
            Guion g = caso("falla_al_cerrar", "no queda espacio en el disco");
            g.errorCierra = ENOSPC;
            return g;
        }()),
    [](const testing::TestParamInfo<Guion>& i) { return std::string(i.param.nombre); });

TEST(EscrituraPngReal, DondeNoSePuedeCrear) {
    QTemporaryDir dir;
    const QImage imagen = imagenDePrueba();
    const struct {
        QString ruta;
        const char* motivo;
    } casos[] = {
        {dir.filePath(QStringLiteral("no/existe/x.png")), "la carpeta no existe"},
        {dir.path(), "es una carpeta"},
    };
    for (const auto& c : casos) {
        QString error;
        EXPECT_FALSE(zul::guardaPng(imagen, c.ruta, error));
        EXPECT_EQ(error.toStdString(), "No se pudo guardar la imagen en " + c.ruta.toStdString() +
                                           ": " + c.motivo + ".");
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// A device is written in place, never replaced: /dev/full fails every write
// with ENOSPC, and the save says so.
TEST(EscrituraPngReal, DispositivoLleno) {
    QString error;
    EXPECT_FALSE(zul::guardaPng(imagenDePrueba(), QStringLiteral("/dev/full"), error));
    EXPECT_EQ(error.toStdString(),
              "No se pudo guardar la imagen en /dev/full: no queda espacio en el disco.");
    struct stat estado;
    ASSERT_EQ(stat("/dev/full", &estado), 0);
    EXPECT_TRUE(S_ISCHR(estado.st_mode));
}

} // namespace
