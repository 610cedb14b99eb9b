#include "paneles/CGraficas.h"

#include "geometria/colores.h"
#include "paneles/ejes_grafica.h"
#include "paneles/exportar_grafica.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QCursor>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// Rows of the legend before it adds a column; the columns scroll sideways.
constexpr int kFilasLeyenda = 4;
// Line widths: every player, and the followed one.
constexpr double kGrosor = 2.0;
constexpr double kGrosorSeguido = 4.5;

struct Descripcion {
    const char* pestana;
    const char* titulo;
    const char* ejeX;
    const char* ejeY;
    const char* archivo;
};

const Descripcion kDescripciones[CGraficas::NumGraficas] = {
    {"Posiciones", "Posición al completar cada vuelta", "Vuelta", "Posición", "posiciones"},
    {"Tiempos de vuelta", "Tiempo de cada vuelta", "Vuelta", "Tiempo (pasos)", "tiempos"},
    {"Vueltas", "Vueltas a lo largo de la carrera", "Paso", "Vueltas", "vueltas"},
};

const zul::SerieGrafica& serieDe(const zul::SeriesGraficas& datos, CGraficas::Grafica g, int j) {
    const std::size_t i = static_cast<std::size_t>(j);
    switch (g) {
    case CGraficas::Posiciones:
        return datos.posiciones[i];
    case CGraficas::Tiempos:
        return datos.tiempos[i];
    default:
        return datos.vueltas[i];
    }
}

} // namespace

CGraficas::CGraficas(const zul::AnalisisCarrera* analisis, QStringList nombres, QWidget* parent)
    : QWidget(parent), analisis(analisis), nombres(std::move(nombres)) {
    setWindowTitle(tr("Gráficas"));
    auto* layout = new QVBoxLayout(this);
    pestanas = new QTabWidget;
    for (int g = 0; g < NumGraficas; ++g) {
        vistas[g] = new QChartView;
        vistas[g]->setRenderHint(QPainter::Antialiasing);
        pestanas->addTab(vistas[g], tr(kDescripciones[g].pestana));
    }
    layout->addWidget(pestanas, 1);
    connect(pestanas, &QTabWidget::currentChanged, this, &CGraficas::rellena);

    // One legend for the three charts, whose colours are the same: in
    // columns, so that forty names take a strip under the charts.
    listaLeyenda = new QListWidget;
    listaLeyenda->setFlow(QListView::TopToBottom);
    listaLeyenda->setWrapping(true);
    listaLeyenda->setResizeMode(QListView::Adjust);
    listaLeyenda->setSelectionMode(QAbstractItemView::NoSelection);
    listaLeyenda->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    listaLeyenda->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    listaLeyenda->setToolTip(tr("Clic en un nombre: mirar a ese jugador"));
    connect(listaLeyenda, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        emit jugadorElegido(item->data(Qt::UserRole).toInt());
    });
    layout->addWidget(listaLeyenda);

    auto* botones = new QHBoxLayout;
    hastaFrameActual = new QCheckBox(tr("Hasta el paso actual"));
    hastaFrameActual->setToolTip(
        tr("Solo lo ocurrido hasta el paso que muestra la ventana, sin desvelar el final"));
    connect(hastaFrameActual, &QCheckBox::toggled, this, &CGraficas::rellena);
    botones->addWidget(hastaFrameActual);
    auto* botonPng = new QPushButton(tr("Exportar &PNG..."));
    auto* botonSvg = new QPushButton(tr("Exportar &SVG..."));
    botones->addStretch(1);
    botones->addWidget(botonPng);
    botones->addWidget(botonSvg);
    layout->addLayout(botones);
    connect(botonPng, &QPushButton::clicked, this, &CGraficas::exportaPng);
    connect(botonSvg, &QPushButton::clicked, this, &CGraficas::exportaSvg);

    // G opens the charts from the race's window; here it closes them.
    addAction(tr("Cerrar las gráficas"), QKeySequence(Qt::Key_G), this, &QWidget::close);

    resize(1000, 700);
    construye();
}

QChartView* CGraficas::vista(Grafica grafica) const {
    return vistas[grafica];
}

QChart* CGraficas::grafica(Grafica grafica) const {
    return vistas[grafica]->chart();
}

const std::vector<QXYSeries*>& CGraficas::series(Grafica grafica) const {
    return seriesPorGrafica[grafica];
}

int CGraficas::puntoCercano(Grafica grafica, int jugador, const QPointF& punto) const {
    if (jugador < 0 || jugador >= static_cast<int>(seriesPorGrafica[grafica].size())) {
        return -1;
    }
    const zul::SerieGrafica& serie = serieDe(datos, grafica, jugador);
    QChart* chart = vistas[grafica]->chart();
    QXYSeries* s = seriesPorGrafica[grafica][static_cast<std::size_t>(jugador)];
    // The nearest point on screen: a click on a line lands between points, and
    // the axes have very different scales.
    const QPointF pantalla = chart->mapToPosition(punto, s);
    int cercano = -1;
    double mejor = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < serie.size(); ++i) {
        const QPointF otro = chart->mapToPosition(QPointF(serie[i].x, serie[i].y), s);
        const double d = std::hypot(otro.x() - pantalla.x(), otro.y() - pantalla.y());
        if (d < mejor) {
            mejor = d;
            cercano = static_cast<int>(i);
        }
    }
    return cercano;
}

long long CGraficas::frameDelPunto(Grafica grafica, int jugador, const QPointF& punto) const {
    const int i = puntoCercano(grafica, jugador, punto);
    return i < 0 ? -1 : serieDe(datos, grafica, jugador)[static_cast<std::size_t>(i)].frame;
}

QString CGraficas::textoPunto(Grafica grafica, const QString& nombre, const QPointF& punto) {
    const QString x = QString::number(std::llround(punto.x()));
    const QString y = QString::number(std::llround(punto.y()));
    switch (grafica) {
    case Posiciones:
        return tr("%1\nVuelta %2: posición %3").arg(nombre, x, y);
    case Tiempos:
        return tr("%1\nVuelta %2: %3 pasos").arg(nombre, x, y);
    default:
        return tr("%1\nPaso %2: %3 vueltas").arg(nombre, x, y);
    }
}

void CGraficas::muestraFrame(long long frame) {
    frameActual = std::max(frame, 0LL);
    if (hastaFrameActual->isChecked() && isVisible()) {
        rellena();
    }
}

void CGraficas::ponJugadorSeguido(int jugador) {
    seguido = jugador;
    ponLapices();
}

void CGraficas::ponLapices() {
    for (auto& lista : seriesPorGrafica) {
        for (std::size_t j = 0; j < lista.size(); ++j) {
            QPen lapiz(zul::colorSobreBlanco(static_cast<int>(j)));
            lapiz.setWidthF(static_cast<int>(j) == seguido ? kGrosorSeguido : kGrosor);
            lista[j]->setPen(lapiz);
        }
    }
    for (int j = 0; j < listaLeyenda->count(); ++j) {
        QFont letra = listaLeyenda->font();
        letra.setBold(j == seguido);
        listaLeyenda->item(j)->setFont(letra);
    }
}

void CGraficas::actualiza() {
    construye();
}

CGraficas::Grafica CGraficas::graficaVisible() const {
    const int indice = pestanas->currentIndex();
    return indice >= 0 && indice < NumGraficas ? static_cast<Grafica>(indice) : NumGraficas;
}

void CGraficas::agregaPestana(QWidget* pestana, const QString& titulo) {
    pestanas->addTab(pestana, titulo);
}

void CGraficas::quitaPestana(QWidget* pestana) {
    const int indice = pestanas->indexOf(pestana);
    if (indice >= NumGraficas) {
        pestanas->removeTab(indice);
        delete pestana;
    }
}

void CGraficas::muestraGrafica(Grafica grafica) {
    pestanas->setCurrentIndex(grafica);
}

void CGraficas::construye() {
    completas = analisis != nullptr ? zul::seriesGraficas(*analisis) : zul::SeriesGraficas{};
    const int n = static_cast<int>(completas.posiciones.size());
    for (int g = 0; g < NumGraficas; ++g) {
        const Grafica grafica = static_cast<Grafica>(g);
        auto* chart = new QChart;
        chart->setTitle(tr(kDescripciones[g].titulo));
        // The legend is the list under the tabs, which scrolls.
        chart->legend()->setVisible(false);
        auto* ejeX = new QValueAxis;
        auto* ejeY = new QValueAxis;
        ejeX->setTitleText(tr(kDescripciones[g].ejeX));
        ejeY->setTitleText(tr(kDescripciones[g].ejeY));
        chart->addAxis(ejeX, Qt::AlignBottom);
        chart->addAxis(ejeY, Qt::AlignLeft);
        seriesPorGrafica[g].clear();
        for (int j = 0; j < n; ++j) {
            auto* serie = new QLineSeries;
            const QString nombre = j < nombres.size() ? nombres[j] : QString::number(j);
            serie->setName(nombre);
            // Laps against frames is a staircase of many points; the others
            // show each lap as a point to click.
            serie->setPointsVisible(grafica != Vueltas);
            chart->addSeries(serie);
            serie->attachAxis(ejeX);
            serie->attachAxis(ejeY);
            connect(serie, &QXYSeries::clicked, this, [this, grafica, j](const QPointF& punto) {
                const long long frame = frameDelPunto(grafica, j, punto);
                if (frame >= 0) {
                    emit frameElegido(frame);
                }
            });
            connect(serie, &QXYSeries::hovered, this,
                    [this, grafica, j, nombre](const QPointF& punto, bool dentro) {
                        const int i = dentro ? puntoCercano(grafica, j, punto) : -1;
                        if (i < 0) {
                            QToolTip::hideText();
                            return;
                        }
                        const zul::PuntoGrafica& p =
                            serieDe(datos, grafica, j)[static_cast<std::size_t>(i)];
                        QToolTip::showText(QCursor::pos(),
                                           textoPunto(grafica, nombre, QPointF(p.x, p.y)),
                                           vistas[grafica]);
                    });
            seriesPorGrafica[g].push_back(serie);
        }
        auto* marca = new QLineSeries;
        QPen lapizMarca(QColor(60, 60, 60));
        lapizMarca.setWidthF(1.5);
        lapizMarca.setStyle(Qt::DashLine);
        marca->setPen(lapizMarca);
        chart->addSeries(marca);
        marca->attachAxis(ejeX);
        marca->attachAxis(ejeY);
        marcas[g] = marca;
        // The view owns its chart and drops the previous one.
        QChart* anterior = vistas[g]->chart();
        vistas[g]->setChart(chart);
        delete anterior;
    }

    listaLeyenda->clear();
    for (int j = 0; j < n; ++j) {
        QPixmap muestra(14, 14);
        muestra.fill(zul::colorSobreBlanco(j));
        auto* item = new QListWidgetItem(QIcon(muestra),
                                         j < nombres.size() ? nombres[j] : QString::number(j));
        item->setData(Qt::UserRole, j);
        listaLeyenda->addItem(item);
    }
    // As many rows as the legend needs, up to kFilasLeyenda, and room for
    // its scroll bar.
    const int filas = std::clamp(n, 1, kFilasLeyenda);
    const int altoFila = std::max(listaLeyenda->sizeHintForRow(0), fontMetrics().height() + 4);
    listaLeyenda->setFixedHeight(filas * (altoFila + listaLeyenda->spacing()) +
                                 listaLeyenda->horizontalScrollBar()->sizeHint().height() +
                                 2 * listaLeyenda->frameWidth() + 4);
    listaLeyenda->setVisible(n > 0);
    ponLapices();
    for (int g = 0; g < NumGraficas; ++g) {
        datos = completas;
        rellenaGrafica(static_cast<Grafica>(g));
    }
    rellena();
}

void CGraficas::rellena() {
    if (graficaVisible() == NumGraficas) {
        return; // another tab, which fills itself
    }
    datos = hastaFrameActual->isChecked() ? zul::hastaFrame(completas, frameActual) : completas;
    rellenaGrafica(graficaVisible());
}

void CGraficas::rellenaGrafica(Grafica grafica) {
    const int g = grafica;
    if (marcas[g] == nullptr) {
        return;
    }
    const int n = static_cast<int>(seriesPorGrafica[g].size());
    double minX = std::numeric_limits<double>::infinity();
    double maxX = -minX;
    double minY = minX;
    double maxY = -minX;
    for (int j = 0; j < n; ++j) {
        QList<QPointF> puntos;
        for (const zul::PuntoGrafica& p : serieDe(datos, grafica, j)) {
            puntos.append(QPointF(p.x, p.y));
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
        seriesPorGrafica[g][static_cast<std::size_t>(j)]->replace(puntos);
    }
    auto* ejeX = qobject_cast<QValueAxis*>(marcas[g]->attachedAxes().value(0));
    auto* ejeY = qobject_cast<QValueAxis*>(marcas[g]->attachedAxes().value(1));
    if (ejeX == nullptr || ejeY == nullptr) {
        return;
    }
    // Where the frame on show stands: on the frame axis itself, or at the
    // furthest lap reached by then.
    const bool marcar = hastaFrameActual->isChecked() && maxX >= minX;
    const double xMarca = grafica == Vueltas ? static_cast<double>(frameActual) : maxX;
    if (marcar) {
        minX = std::min(minX, xMarca);
        maxX = std::max(maxX, xMarca);
    }
    if (grafica == Posiciones) {
        // First place on top.
        zul::ajustaEje(ejeY, 1.0, std::max(1, n));
        ejeY->setReverse(true);
    } else {
        zul::ajustaEje(ejeY, grafica == Tiempos ? 0.0 : minY, maxY);
    }
    zul::ajustaEje(ejeX, minX, maxX);
    if (marcar) {
        marcas[g]->replace({QPointF(xMarca, ejeY->min()), QPointF(xMarca, ejeY->max())});
    } else {
        marcas[g]->clear();
    }
    marcas[g]->setVisible(marcar);
}

void CGraficas::exportaPng() {
    exporta(false);
}

void CGraficas::exportaSvg() {
    exporta(true);
}

void CGraficas::exporta(bool svg) {
    const Grafica g = graficaVisible();
    // Another tab's chart is the first chart view in it.
    QChartView* vista =
        g < NumGraficas ? vistas[g] : pestanas->currentWidget()->findChild<QChartView*>();
    if (vista == nullptr) {
        return;
    }
    const QString nombre = g < NumGraficas ? QLatin1String(kDescripciones[g].archivo)
                                           : pestanas->tabText(pestanas->currentIndex()).toLower();
    const QString extension = svg ? QStringLiteral("svg") : QStringLiteral("png");
    const QString ruta = QFileDialog::getSaveFileName(
        this, svg ? tr("Exportar la gráfica como SVG") : tr("Exportar la gráfica como PNG"),
        nombre + QLatin1Char('.') + extension,
        svg ? tr("Dibujos SVG (*.svg)") : tr("Imágenes PNG (*.png)"));
    if (ruta.isEmpty()) {
        return;
    }
    QString error;
    const bool bien = svg ? zul::exportaGraficaSvg(vista, ruta, error)
                          : zul::exportaGraficaPng(vista, ruta, error);
    if (!bien) {
        QMessageBox::warning(this, tr("Gráficas"), error);
    }
}
