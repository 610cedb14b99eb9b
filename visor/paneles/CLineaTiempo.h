#pragma once

#include "datos/eventos.h"

#include <QColor>
#include <QPair>
#include <QPixmap>
#include <QSlider>
#include <QStringList>
#include <QWidget>

#include <vector>

class QLabel;
class QMouseEvent;
class QPaintEvent;
class QPushButton;
class QStyleOptionSlider;

// The slider of the timeline: one value per frame, with the race's events
// marked in its groove under the handle. A click anywhere on the groove puts
// the handle there at once, rather than paging towards the click.
class CBarraFrames : public QSlider {
public:
    struct Marca {
        long long frame = 0;
        QColor color;
        // Shots are marked in the upper half of the groove, laps in the lower
        // half, so both show when they fall on the same frame.
        bool arriba = false;
        QString texto; // its tooltip
    };

    explicit CBarraFrames(QWidget* parent = nullptr);

    void ponMarcas(std::vector<Marca> nuevas);
    const std::vector<Marca>& marcas() const { return lista; }

    // The x of the handle's centre when the slider holds `valor`: where the
    // mark of that frame is drawn.
    int xDeValor(int valor) const;
    // The band the marks are drawn in: the groove, made taller.
    QRect franjaMarcas() const;
    // The tooltip at a point: the texts of the marks drawn under it (shots
    // in the upper half, laps in the lower), empty where there is none.
    QString textoMarcasEn(QPoint punto) const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QStyleOptionSlider opciones() const;
    QRect asa() const;
    void pintaCapa();

    std::vector<Marca> lista;
    QPixmap capa;
    QSize tamanoCapa;
    QPair<int, int> rangoCapa;
};

// The timeline under the track view: the slider over every frame of the race
// with its event marks, the counter "Paso k de N", and the buttons that jump
// to the previous and the next event. It follows the replay through
// muestraFrame() and asks for frames through frameElegido(); it never changes
// the replay itself.
class CLineaTiempo : public QWidget {
    Q_OBJECT

public:
    explicit CLineaTiempo(QWidget* parent = nullptr);

    // The race to navigate: its number of frames and its events; the names
    // go into the marks' tooltips.
    void ponCarrera(long long numeroFrames, const std::vector<zul::Evento>& eventos,
                    const QStringList& nombres = QStringList());

    long long frameMostrado() const { return actual; }
    long long numeroFrames() const { return frames; }
    CBarraFrames* barra() const { return barraFrames; }
    QLabel* contador() const { return etiquetaFrame; }
    QPushButton* botonAnterior() const { return botonEventoAnterior; }
    QPushButton* botonSiguiente() const { return botonEventoSiguiente; }

public slots:
    // The replay shows this frame now (-1: none yet); emits nothing.
    void muestraFrame(long long frame);
    // Ask for the nearest event frame before (after) the one on show;
    // nothing when there is none.
    void eventoAnterior();
    void eventoSiguiente();

signals:
    // The user chose this frame: on the slider or with an event jump.
    void frameElegido(long long frame);
    // After frameElegido, when the frame was reached by an event jump.
    void eventoElegido(long long frame);

protected:
    void changeEvent(QEvent* evento) override;

private:
    // The counter as wide as its longest text in the current font.
    void ajustaContador();
    void eligeDesdeBarra(int valor);
    void actualiza();

    CBarraFrames* barraFrames = nullptr;
    QLabel* etiquetaFrame = nullptr;
    QPushButton* botonEventoAnterior = nullptr;
    QPushButton* botonEventoSiguiente = nullptr;
    std::vector<long long> framesEventos;
    long long frames = 0;
    long long actual = -1;
    // True while the slider is moved to follow the replay, not by the user.
    bool siguiendo = false;
};
