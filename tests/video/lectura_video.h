#pragma once

#include <QImage>
#include <QString>

#include <string>
#include <vector>

// Reads a video back with libavformat and libavcodec, as a player would.
struct VideoLeido {
    QString error; // empty when it could be read
    std::string codec;
    std::string formatoPixel;
    int ancho = 0;
    int alto = 0;
    double fps = 0.0;
    double duracion = 0.0;       // seconds, as the container states it
    std::vector<QImage> cuadros; // every decoded picture, in RGB
};

VideoLeido leeVideo(const QString& ruta);

// Whether an MP4's index (moov) comes before its data (mdat).
bool indiceDelante(const QString& ruta);

// Mean absolute difference per channel between two pictures of one size.
double diferenciaMedia(const QImage& a, const QImage& b);
