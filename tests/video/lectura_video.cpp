#include "lectura_video.h"

#include <QFile>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <cstdlib>
#include <memory>

namespace {

QImage aImagen(const AVFrame* f) {
    QImage imagen(f->width, f->height, QImage::Format_RGB32);
    SwsContext* sws = sws_getContext(f->width, f->height, static_cast<AVPixelFormat>(f->format),
                                     f->width, f->height, AV_PIX_FMT_RGB32,
                                     SWS_BILINEAR | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    if (sws == nullptr) {
        return QImage();
    }
    const int espacio = f->colorspace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_ITU601;
    const int* tabla = sws_getCoefficients(espacio);
    sws_setColorspaceDetails(sws, tabla, f->color_range == AVCOL_RANGE_JPEG, tabla, 1, 0, 1 << 16,
                             1 << 16);
    uint8_t* destino[1] = {imagen.bits()};
    const int saltos[1] = {static_cast<int>(imagen.bytesPerLine())};
    sws_scale(sws, f->data, f->linesize, 0, f->height, destino, saltos);
    sws_freeContext(sws);
    return imagen;
}

} // namespace

VideoLeido leeVideo(const QString& ruta) {
    VideoLeido leido;
    AVFormatContext* formato = nullptr;
    const QByteArray nombre = QFile::encodeName(ruta);
    if (avformat_open_input(&formato, nombre.constData(), nullptr, nullptr) < 0) {
        leido.error = QStringLiteral("no se abre");
        return leido;
    }
    std::unique_ptr<AVFormatContext*, void (*)(AVFormatContext**)> cierraFormato(
        &formato, avformat_close_input);
    if (avformat_find_stream_info(formato, nullptr) < 0) {
        leido.error = QStringLiteral("sin información");
        return leido;
    }
    const AVCodec* decodificador = nullptr;
    const int indice = av_find_best_stream(formato, AVMEDIA_TYPE_VIDEO, -1, -1, &decodificador, 0);
    if (indice < 0 || decodificador == nullptr) {
        leido.error = QStringLiteral("sin vídeo");
        return leido;
    }
    AVStream* flujo = formato->streams[indice];
    leido.codec = avcodec_get_name(flujo->codecpar->codec_id);
    leido.ancho = flujo->codecpar->width;
    leido.alto = flujo->codecpar->height;
    leido.fps = av_q2d(flujo->avg_frame_rate);
    leido.duracion =
        formato->duration > 0 ? static_cast<double>(formato->duration) / AV_TIME_BASE : 0.0;
    AVCodecContext* codec = avcodec_alloc_context3(decodificador);
    std::unique_ptr<AVCodecContext*, void (*)(AVCodecContext**)> cierraCodec(&codec,
                                                                             avcodec_free_context);
    if (codec == nullptr || avcodec_parameters_to_context(codec, flujo->codecpar) < 0 ||
        avcodec_open2(codec, decodificador, nullptr) < 0) {
        leido.error = QStringLiteral("sin decodificador");
        return leido;
    }
    AVPacket* paquete = av_packet_alloc();
    AVFrame* cuadro = av_frame_alloc();
    std::unique_ptr<AVPacket*, void (*)(AVPacket**)> liberaPaquete(&paquete, av_packet_free);
    std::unique_ptr<AVFrame*, void (*)(AVFrame**)> liberaCuadro(&cuadro, av_frame_free);
    const auto recibe = [&] {
        while (avcodec_receive_frame(codec, cuadro) == 0) {
            if (leido.formatoPixel.empty()) {
                const char* n = av_get_pix_fmt_name(static_cast<AVPixelFormat>(cuadro->format));
                leido.formatoPixel = n != nullptr ? n : "";
            }
            leido.cuadros.push_back(aImagen(cuadro));
            av_frame_unref(cuadro);
        }
    };
    while (av_read_frame(formato, paquete) >= 0) {
        if (paquete->stream_index == indice) {
            avcodec_send_packet(codec, paquete);
            recibe();
        }
        av_packet_unref(paquete);
    }
    avcodec_send_packet(codec, nullptr);
    recibe();
    return leido;
}

bool indiceDelante(const QString& ruta) {
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly)) {
        return false;
    }
    // Top-level boxes: a 32-bit big-endian size, then the four-letter type.
    qint64 posicion = 0;
    while (archivo.seek(posicion)) {
        const QByteArray cabecera = archivo.read(8);
        if (cabecera.size() < 8) {
            return false;
        }
        const auto b = [&](int i) { return static_cast<quint32>(static_cast<uchar>(cabecera[i])); };
        const quint32 tamano = b(0) << 24 | b(1) << 16 | b(2) << 8 | b(3);
        const QByteArray tipo = cabecera.mid(4, 4);
        if (tipo == "moov") {
            return true;
        }
        if (tipo == "mdat" || tamano < 8) {
            return false;
        }
        posicion += tamano;
    }
    return false;
}

double diferenciaMedia(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull()) {
        return 1e9;
    }
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double suma = 0.0;
    for (int fila = 0; fila < x.height(); ++fila) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(fila));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(fila));
        for (int col = 0; col < x.width(); ++col) {
            suma += std::abs(qRed(p[col]) - qRed(q[col])) +
                    std::abs(qGreen(p[col]) - qGreen(q[col])) +
                    std::abs(qBlue(p[col]) - qBlue(q[col]));
        }
    }
    return suma / (3.0 * x.width() * x.height());
}
