#include "video/conversor_yuv.h"

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

#include <cstring>

namespace zul {

CConversorYuv::~CConversorYuv() {
    libera();
}

void CConversorYuv::libera() {
    sws_freeContext(escala);
    escala = nullptr;
    av_frame_free(&cuadro);
    relleno = QImage();
}

bool CConversorYuv::prepara(QSize nuevo, QString& error) {
    libera();
    tamano = nuevo;
    const QSize par = tamanoPar(nuevo);
    // QImage::Format_RGB32 is 0xffRRGGBB in native order, which is RGB32 here.
    escala = sws_getContext(par.width(), par.height(), AV_PIX_FMT_RGB32, par.width(), par.height(),
                            AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
    cuadro = av_frame_alloc();
    if (escala == nullptr || cuadro == nullptr) {
        libera();
        error = QStringLiteral("no se pudo preparar la conversión de color a %1x%2")
                    .arg(par.width())
                    .arg(par.height());
        return false;
    }
    const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
    sws_setColorspaceDetails(escala, bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
    cuadro->format = AV_PIX_FMT_YUV420P;
    cuadro->width = par.width();
    cuadro->height = par.height();
    cuadro->color_range = AVCOL_RANGE_MPEG;
    cuadro->colorspace = AVCOL_SPC_BT709;
    cuadro->color_primaries = AVCOL_PRI_BT709;
    cuadro->color_trc = AVCOL_TRC_BT709;
    if (av_frame_get_buffer(cuadro, 0) < 0) {
        libera();
        error = QStringLiteral("no hay memoria para fotogramas de %1x%2")
                    .arg(par.width())
                    .arg(par.height());
        return false;
    }
    if (par != nuevo) {
        relleno = QImage(par, QImage::Format_RGB32);
    }
    return true;
}

AVFrame* CConversorYuv::convierte(const QImage& imagen, QString& error) {
    if (cuadro == nullptr) {
        error = QStringLiteral("la conversión de color no está preparada");
        return nullptr;
    }
    if (imagen.isNull() || imagen.size() != tamano) {
        error = QStringLiteral("la imagen mide %1x%2 y el vídeo %3x%4")
                    .arg(imagen.width())
                    .arg(imagen.height())
                    .arg(tamano.width())
                    .arg(tamano.height());
        return nullptr;
    }
    // The three 32-bit formats share one layout; alpha is ignored.
    QImage convertida;
    const QImage* fuente = &imagen;
    if (imagen.format() != QImage::Format_RGB32 && imagen.format() != QImage::Format_ARGB32 &&
        imagen.format() != QImage::Format_ARGB32_Premultiplied) {
        convertida = imagen.convertToFormat(QImage::Format_RGB32);
        fuente = &convertida;
    }
    if (!relleno.isNull()) {
        const int ancho = tamano.width();
        const auto bytes = static_cast<std::size_t>(ancho) * 4;
        for (int y = 0; y < tamano.height(); ++y) {
            auto* fila = reinterpret_cast<QRgb*>(relleno.scanLine(y));
            std::memcpy(fila, fuente->constScanLine(y), bytes);
            if (relleno.width() > ancho) {
                fila[ancho] = fila[ancho - 1];
            }
        }
        if (relleno.height() > tamano.height()) {
            std::memcpy(relleno.scanLine(tamano.height()),
                        relleno.constScanLine(tamano.height() - 1),
                        static_cast<std::size_t>(relleno.bytesPerLine()));
        }
        fuente = &relleno;
    }
    if (av_frame_make_writable(cuadro) < 0) {
        error = QStringLiteral("no hay memoria para otro fotograma");
        return nullptr;
    }
    const uint8_t* planos[1] = {fuente->constBits()};
    const int saltos[1] = {static_cast<int>(fuente->bytesPerLine())};
    sws_scale(escala, planos, saltos, 0, fuente->height(), cuadro->data, cuadro->linesize);
    return cuadro;
}

} // namespace zul
