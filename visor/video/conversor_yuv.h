#pragma once

#include <QImage>
#include <QSize>
#include <QString>

struct AVFrame;
struct SwsContext;

namespace zul {

// Turns the pictures we draw (32-bit RGB) into the 4:2:0 YUV pictures that
// H.264 and VP9 take, with BT.709 colours in limited range. 4:2:0 needs even
// sides, so an odd width or height gets its last column or row once more on
// the right or at the bottom (a black one would tint the shared colour
// samples of the edge): the picture itself is never scaled or cropped.
class CConversorYuv {
public:
    CConversorYuv() = default;
    ~CConversorYuv();
    CConversorYuv(const CConversorYuv&) = delete;
    CConversorYuv& operator=(const CConversorYuv&) = delete;

    // Prepares for pictures of `tamano`. False, with the reason in Spanish.
    bool prepara(QSize tamano, QString& error);

    // The picture in YUV, in a frame owned here and overwritten by the next
    // call (made writable first, so an encoder may still hold the previous
    // one). Null, with the reason in Spanish, when the picture is null or of
    // another size.
    AVFrame* convierte(const QImage& imagen, QString& error);
    QSize tamanoCuadro() const { return tamanoPar(tamano); }

    // The size rounded up to even sides.
    static QSize tamanoPar(QSize tamano) {
        return QSize(tamano.width() + (tamano.width() & 1),
                     tamano.height() + (tamano.height() & 1));
    }

private:
    void libera();

    QSize tamano;
    QImage relleno; // the picture with its repeated edge, for odd sizes
    SwsContext* escala = nullptr;
    AVFrame* cuadro = nullptr;
};

} // namespace zul
