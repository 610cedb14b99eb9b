#include "video/codificador.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
}

#include <cstring>
#include <mutex>

namespace zul {

namespace {

// Chosen with BM_ExportarVideo on two cores: see docs/rendimiento.md.
constexpr const char* kPresetX264 = "veryfast";
constexpr int kHilosX264 = 0;

QString textoAv(int codigo) {
    char texto[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(codigo, texto, sizeof texto);
    return QString::fromLocal8Bit(texto);
}

} // namespace

CCodificadorVideo::CCodificadorVideo() = default;

CCodificadorVideo::~CCodificadorVideo() {
    descarta();
}

void CCodificadorVideo::libera() {
    av_packet_free(&paquete);
    avcodec_free_context(&codec);
    // The custom writer belongs to `archivo`; this only frees the muxer.
    avformat_free_context(formato);
    formato = nullptr;
    flujo = nullptr;
}

void CCodificadorVideo::descarta() {
    libera();
    cerrado_ = false;
    archivo.descarta();
}

bool CCodificadorVideo::abre(const QString& ruta, QSize tamano, const OpcionesCodificador& opciones,
                             QString& error) {
    // FFmpeg's notes and statistics would break the progress line on standard
    // error; its errors still show, beside our own message.
    static std::once_flag silencio;
    std::call_once(silencio, [] { av_log_set_level(AV_LOG_ERROR); });
    descarta();
    salida = ruta;
    siguiente = 0;
    const FormatoVideo* elegido =
        opciones.formato != nullptr ? opciones.formato : formatoPorNombre(ruta);
    if (elegido == nullptr) {
        error = errorExtension(ruta);
        return false;
    }
    if (tamano.width() < 1 || tamano.height() < 1 || tamano.width() > kLadoMaximoVideo ||
        tamano.height() > kLadoMaximoVideo) {
        error = errorAlEmpezar(ruta, QStringLiteral("el tamaño %1x%2 no está entre 1x1 y %3x%3")
                                         .arg(tamano.width())
                                         .arg(tamano.height())
                                         .arg(kLadoMaximoVideo));
        return false;
    }
    if (opciones.fps < 1 || opciones.fps > 1000) {
        error =
            errorAlEmpezar(ruta, QStringLiteral("%1 fotogramas por segundo no es una frecuencia "
                                                "válida")
                                     .arg(opciones.fps));
        return false;
    }
    const AVCodec* encoder = avcodec_find_encoder_by_name(elegido->codificador);
    if (encoder == nullptr) {
        error = errorAlEmpezar(ruta, QStringLiteral("las bibliotecas de FFmpeg de este sistema no "
                                                    "tienen el codificador %1 (%2)")
                                         .arg(QLatin1String(elegido->codificador),
                                              QLatin1String(elegido->nombreCodec)));
        return false;
    }
    QString motivo;
    if (!conversor.prepara(tamano, motivo)) {
        error = errorAlEmpezar(ruta, motivo);
        return false;
    }
    archivo.limitaBytes(opciones.limiteBytes);
    if (!archivo.abre(ruta, error)) {
        return false;
    }

    const auto falla = [&](const QString& texto) {
        error = errorAlEmpezar(ruta, texto);
        descarta();
        return false;
    };
    if (avformat_alloc_output_context2(&formato, nullptr, elegido->contenedor,
                                       archivo.rutaParcial().constData()) < 0 ||
        formato == nullptr) {
        return falla(QStringLiteral("el contenedor %1 no está disponible")
                         .arg(QLatin1String(elegido->contenedor)));
    }
    formato->pb = archivo.contexto();
    formato->flags |= AVFMT_FLAG_CUSTOM_IO;
    flujo = avformat_new_stream(formato, nullptr);
    codec = avcodec_alloc_context3(encoder);
    paquete = av_packet_alloc();
    if (flujo == nullptr || codec == nullptr || paquete == nullptr) {
        return falla(QStringLiteral("no hay memoria suficiente"));
    }
    const QSize par = conversor.tamanoCuadro();
    codec->width = par.width();
    codec->height = par.height();
    codec->pix_fmt = AV_PIX_FMT_YUV420P;
    codec->time_base = AVRational{1, opciones.fps};
    codec->framerate = AVRational{opciones.fps, 1};
    // A key picture every two seconds, so players can seek.
    codec->gop_size = 2 * opciones.fps;
    codec->color_range = AVCOL_RANGE_MPEG;
    codec->colorspace = AVCOL_SPC_BT709;
    codec->color_primaries = AVCOL_PRI_BT709;
    codec->color_trc = AVCOL_TRC_BT709;
    if (formato->oformat->flags & AVFMT_GLOBALHEADER) {
        codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    AVDictionary* ajustes = nullptr;
    if (std::strcmp(elegido->codificador, "libx264") == 0) {
        codec->thread_count = opciones.hilos > 0 ? opciones.hilos : kHilosX264;
        av_dict_set(&ajustes, "preset",
                    opciones.preset.isEmpty() ? kPresetX264 : opciones.preset.constData(), 0);
        av_dict_set(&ajustes, "crf", "21", 0);
    } else {
        // VP9's realtime mode: its good mode is ten times slower for the
        // same flat track pictures.
        codec->thread_count = opciones.hilos;
        codec->bit_rate = 0;
        av_dict_set(&ajustes, "deadline", "realtime", 0);
        av_dict_set(&ajustes, "cpu-used", "8", 0);
        av_dict_set(&ajustes, "row-mt", "1", 0);
        av_dict_set(&ajustes, "crf", "32", 0);
    }
    const int abierto = avcodec_open2(codec, encoder, &ajustes);
    av_dict_free(&ajustes);
    if (abierto < 0) {
        return falla(QStringLiteral("el codificador %1 no acepta %2x%3 a %4 fotogramas por "
                                    "segundo (%5)")
                         .arg(QLatin1String(elegido->codificador))
                         .arg(par.width())
                         .arg(par.height())
                         .arg(opciones.fps)
                         .arg(textoAv(abierto)));
    }
    if (avcodec_parameters_from_context(flujo->codecpar, codec) < 0) {
        return falla(QStringLiteral("no hay memoria suficiente"));
    }
    flujo->time_base = codec->time_base;
    flujo->avg_frame_rate = codec->framerate;

    AVDictionary* cabecera = nullptr;
    if (std::strcmp(elegido->contenedor, "mp4") == 0) {
        // The index goes at the front, so browsers start playing at once.
        av_dict_set(&cabecera, "movflags", "+faststart", 0);
    }
    const int escrita = avformat_write_header(formato, &cabecera);
    av_dict_free(&cabecera);
    if (escrita < 0) {
        error = falloEscritura(escrita);
        descarta();
        return false;
    }
    return true;
}

QString CCodificadorVideo::falloEscritura(int codigo) const {
    const QString motivo = archivo.motivoFallo();
    return errorAlEscribir(salida, motivo.isEmpty() ? textoAv(codigo) : motivo);
}

bool CCodificadorVideo::agrega(const QImage& imagen, QString& error) {
    if (!abierto()) {
        error = errorAlEscribir(salida, QStringLiteral("el vídeo no está abierto"));
        return false;
    }
    QString motivo;
    AVFrame* cuadro = conversor.convierte(imagen, motivo);
    if (cuadro == nullptr) {
        error = errorAlEscribir(salida, motivo);
        descarta();
        return false;
    }
    return agregaYuv(cuadro, error);
}

bool CCodificadorVideo::agregaYuv(AVFrame* cuadro, QString& error) {
    if (!abierto()) {
        error = errorAlEscribir(salida, QStringLiteral("el vídeo no está abierto"));
        return false;
    }
    if (cuadro == nullptr || cuadro->width != codec->width || cuadro->height != codec->height ||
        cuadro->format != AV_PIX_FMT_YUV420P) {
        error =
            errorAlEscribir(salida, QStringLiteral("un fotograma no tiene el tamaño del vídeo"));
        descarta();
        return false;
    }
    cuadro->pts = siguiente;
    if (!envia(cuadro, error)) {
        descarta();
        return false;
    }
    ++siguiente;
    return true;
}

bool CCodificadorVideo::envia(AVFrame* cuadro, QString& error) {
    const int enviado = avcodec_send_frame(codec, cuadro);
    if (enviado < 0) {
        error = errorAlEscribir(salida,
                                QStringLiteral("el codificador falló (%1)").arg(textoAv(enviado)));
        return false;
    }
    for (;;) {
        const int recibido = avcodec_receive_packet(codec, paquete);
        if (recibido == AVERROR(EAGAIN) || recibido == AVERROR_EOF) {
            return true;
        }
        if (recibido < 0) {
            error = errorAlEscribir(
                salida, QStringLiteral("el codificador falló (%1)").arg(textoAv(recibido)));
            return false;
        }
        av_packet_rescale_ts(paquete, codec->time_base, flujo->time_base);
        paquete->stream_index = flujo->index;
        const int escrito = av_interleaved_write_frame(formato, paquete);
        if (escrito < 0) {
            error = falloEscritura(escrito);
            return false;
        }
        // The writer may fail inside its buffer without the muxer noticing yet.
        if (!archivo.motivoFallo().isEmpty()) {
            error = falloEscritura(AVERROR(EIO));
            return false;
        }
    }
}

bool CCodificadorVideo::cierra(QString& error) {
    if (!abierto()) {
        error = errorAlEscribir(salida, QStringLiteral("el vídeo no está abierto"));
        return false;
    }
    if (!envia(nullptr, error)) {
        descarta();
        return false;
    }
    const int cerrado = av_write_trailer(formato);
    if (cerrado < 0 || !archivo.motivoFallo().isEmpty()) {
        error = falloEscritura(cerrado < 0 ? cerrado : AVERROR(EIO));
        descarta();
        return false;
    }
    libera();
    cerrado_ = true;
    return true;
}

bool CCodificadorVideo::publica(QString& error) {
    if (!cerrado_) {
        error = errorAlEscribir(salida, QStringLiteral("el vídeo no está terminado"));
        descarta();
        return false;
    }
    cerrado_ = false;
    return archivo.publica(error);
}

bool CCodificadorVideo::termina(QString& error) {
    return cierra(error) && publica(error);
}

} // namespace zul
