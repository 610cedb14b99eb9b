#pragma once

#include "video/archivo_parcial.h"
#include "video/conversor_yuv.h"
#include "video/formatos.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;

namespace zul {

constexpr int kLadoMaximoVideo = 8192;

struct OpcionesCodificador {
    int fps = 30;
    // Null: told by the file's extension.
    const FormatoVideo* formato = nullptr;
    // x264's speed preset; empty: ours (see codificador.cpp).
    QByteArray preset;
    // Encoder threads; 0: ours.
    int hilos = 0;
    // Test seam: writes fail as on a full disk past this many bytes.
    long long limiteBytes = -1;
};

// Writes pictures of one size as a video: opens the file, takes the pictures
// one by one, and publishes the file only when termina() succeeds. A video
// that is not finished (an error, descarta(), or the object going away)
// leaves no file behind, and an earlier file of that name as it was.
class CCodificadorVideo {
public:
    CCodificadorVideo();
    ~CCodificadorVideo();
    CCodificadorVideo(const CCodificadorVideo&) = delete;
    CCodificadorVideo& operator=(const CCodificadorVideo&) = delete;

    // False, with a Spanish message naming `salida`: an unknown extension, a
    // missing encoder, a size out of range, a folder that cannot be written.
    bool abre(const QString& salida, QSize tamano, const OpcionesCodificador& opciones,
              QString& error);
    // One picture of the size given to abre(). False, with a Spanish message
    // naming the file; the video is discarded then.
    bool agrega(const QImage& imagen, QString& error);
    // Same, for a picture already in YUV at tamanoCuadro() (as CConversorYuv
    // makes it); its timestamp is set here.
    bool agregaYuv(AVFrame* cuadro, QString& error);
    // Drains the encoder, writes the index and publishes the file: cierra()
    // then publica(), which a caller may split to honour a late cancel.
    bool termina(QString& error);
    bool cierra(QString& error);
    bool publica(QString& error);
    void descarta();

    bool abierto() const { return formato != nullptr; }
    // The encoded size: the pictures' size rounded up to even sides.
    QSize tamanoCuadro() const { return conversor.tamanoCuadro(); }

private:
    bool envia(AVFrame* cuadro, QString& error);
    QString falloEscritura(int codigo) const;
    void libera();

    QString salida;
    CArchivoParcial archivo;
    CConversorYuv conversor;
    AVFormatContext* formato = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* flujo = nullptr;
    AVPacket* paquete = nullptr;
    long long siguiente = 0;
    bool cerrado_ = false; // closed, waiting for publica()
};

} // namespace zul
