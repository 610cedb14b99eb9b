#include "datos/rutas.h"

#include <sys/stat.h>

namespace zul {

namespace {

constexpr char16_t kEscapado = 0xDC00;

// The length of the well-formed UTF-8 sequence at `p`, or 0.
int largoUtf8(const unsigned char* p, const unsigned char* fin) {
    const unsigned char c = p[0];
    int largo = 0;
    unsigned minimo = 0;
    unsigned valor = 0;
    if (c < 0x80) {
        return 1;
    } else if (c >= 0xC2 && c <= 0xDF) {
        largo = 2;
        valor = c & 0x1F;
        minimo = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        largo = 3;
        valor = c & 0x0F;
        minimo = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        largo = 4;
        valor = c & 0x07;
        minimo = 0x10000;
    } else {
        return 0;
    }
    if (fin - p < largo) {
        return 0;
    }
    for (int k = 1; k < largo; ++k) {
        if ((p[k] & 0xC0) != 0x80) {
            return 0;
        }
        valor = (valor << 6) | (p[k] & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are no UTF-8.
    if (valor < minimo || (valor >= 0xD800 && valor <= 0xDFFF) || valor > 0x10FFFF) {
        return 0;
    }
    return largo;
}

} // namespace

QString rutaDeBytes(const QByteArray& bytes) {
    QString ruta;
    ruta.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto* fin = p + bytes.size();
    while (p < fin) {
        const int largo = largoUtf8(p, fin);
        if (largo == 0) {
            ruta += QChar(static_cast<char16_t>(kEscapado | *p));
            ++p;
        } else {
            ruta += QString::fromUtf8(reinterpret_cast<const char*>(p), largo);
            p += largo;
        }
    }
    return ruta;
}

QByteArray bytesDeRuta(const QString& ruta) {
    QByteArray bytes;
    bytes.reserve(ruta.size());
    const qsizetype n = ruta.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = ruta.at(i).unicode();
        if (u >= 0xDC80 && u <= 0xDCFF) {
            bytes += static_cast<char>(u & 0xFF);
        } else if (QChar::isHighSurrogate(u) && i + 1 < n && ruta.at(i + 1).isLowSurrogate()) {
            bytes += ruta.mid(i, 2).toUtf8();
            ++i;
        } else {
            bytes += QString(QChar(u)).toUtf8();
        }
    }
    return bytes;
}

bool mismoArchivo(const QString& a, const QString& b) {
    struct stat uno;
    struct stat otro;
    return ::stat(bytesDeRuta(a).constData(), &uno) == 0 &&
           ::stat(bytesDeRuta(b).constData(), &otro) == 0 && uno.st_dev == otro.st_dev &&
           uno.st_ino == otro.st_ino;
}

} // namespace zul
