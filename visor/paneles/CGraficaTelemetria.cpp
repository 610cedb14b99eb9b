#include "paneles/CGraficaTelemetria.h"

#include "geometria/colores.h"
#include "paneles/ejes_grafica.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

constexpr double kGrosor = 1.5;
constexpr double kGrosorDestacado = 3.5;
// Laps beyond this many are named in no legend: it would hide the chart.
constexpr int kVueltasConLeyenda = 12;

// A pale tint of a colour, for the laps that are not the best.
QColor palido(const QColor& color) {
    QColor c = color;
    c.setAlpha(90);
    return c;
}

} // namespace

CGraficaTelemetria::CGraficaTelemetria(Tipo tipo, QStringList nombres, Fuentes fuentes,
                                       QWidget* parent)
    : QWidget(parent), clase(tipo), nombres(std::move(nombres)), fuentes(std::move(fuentes)),
      actual(tipo == Delta ? PorVueltas : PorFrames) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* fila = new QHBoxLayout;
    selector = new QComboBox;
    selector->addItems({tr("Por pasos"), tr("Vueltas del jugador seguido")});
    selector->setCurrentIndex(actual);
    auto* etiqueta = new QLabel(tr("&Mostrar:"));
    etiqueta->setBuddy(selector);
    fila->addWidget(etiqueta);
    fila->addWidget(selector);
    fila->addStretch(1);
    layout->addLayout(fila);
    auto* cuerpo = new QHBoxLayout;
    vistaGrafica = new QChartView;
    vistaGrafica->setRenderHint(QPainter::Antialiasing);
    cuerpo->addWidget(vistaGrafica, 1);
    listaJugadores = new QListWidget;
    listaJugadores->setToolTip(tr("Los jugadores marcados, además del seguido"));
    listaJugadores->setMaximumWidth(180);
    for (int j = 0; j < this->nombres.size(); ++j) {
        QPixmap muestra(14, 14);
        muestra.fill(zul::colorSobreBlanco(j));
        auto* item = new QListWidgetItem(QIcon(muestra), this->nombres[j], listaJugadores);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    cuerpo->addWidget(listaJugadores);
    layout->addLayout(cuerpo, 1);
    // The delta is always round the lap.
    etiqueta->setVisible(tipo == Velocidad);
    selector->setVisible(tipo == Velocidad);
    listaJugadores->setVisible(actual == PorFrames);

    connect(selector, &QComboBox::currentIndexChanged, this,
            [this](int indice) { ponModo(static_cast<Modo>(indice)); });
    connect(listaJugadores, &QListWidget::itemChanged, this, [this] { rellena(); });
}

void CGraficaTelemetria::ponModo(Modo modo) {
    if (clase == Delta) {
        return;
    }
    actual = modo;
    selector->setCurrentIndex(modo);
    listaJugadores->setVisible(modo == PorFrames);
    rellena();
}

void CGraficaTelemetria::ponJugadorSeguido(int jugador) {
    if (jugador == seguido) {
        return;
    }
    seguido = jugador;
    for (int j = 0; j < listaJugadores->count(); ++j) {
        QFont letra = listaJugadores->font();
        letra.setBold(j == seguido);
        listaJugadores->item(j)->setFont(letra);
    }
    actualiza();
}

void CGraficaTelemetria::actualiza() {
    atrasada = true;
    if (isVisible()) {
        rellena();
    }
}

void CGraficaTelemetria::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (atrasada) {
        rellena();
    }
}

void CGraficaTelemetria::agregaSerie(const zul::SerieGrafica& puntos, const QString& nombre,
                                     const QColor& color, double grosor) {
    auto* serie = new QLineSeries;
    serie->setName(nombre);
    QList<QPointF> lista;
    lista.reserve(static_cast<qsizetype>(puntos.size()));
    for (const zul::PuntoGrafica& p : puntos) {
        lista.append(QPointF(p.x, p.y));
    }
    serie->replace(lista);
    QPen lapiz(color);
    lapiz.setWidthF(grosor);
    serie->setPen(lapiz);
    const std::size_t indice = datos.size();
    connect(serie, &QXYSeries::clicked, this, [this, indice, serie](const QPointF& punto) {
        // The nearest point on screen: the axes have very different scales.
        QChart* chart = vistaGrafica->chart();
        const QPointF aqui = chart->mapToPosition(punto, serie);
        long long frame = -1;
        double menor = std::numeric_limits<double>::infinity();
        for (const zul::PuntoGrafica& p : datos[indice]) {
            const QPointF otro = chart->mapToPosition(QPointF(p.x, p.y), serie);
            const double d = std::hypot(otro.x() - aqui.x(), otro.y() - aqui.y());
            if (d < menor) {
                menor = d;
                frame = p.frame;
            }
        }
        if (frame >= 0) {
            emit frameElegido(frame);
        }
    });
    datos.push_back(puntos);
    seriesMostradas.push_back(serie);
}

void CGraficaTelemetria::rellena() {
    atrasada = false;
    seriesMostradas.clear();
    datos.clear();
    mejor = -1;
    auto* chart = new QChart;
    const QString nombre = seguido >= 0 && seguido < nombres.size() ? nombres[seguido] : QString();
    if (actual == PorFrames) {
        chart->setTitle(tr("Velocidad a lo largo de la carrera"));
        for (int j = 0; j < listaJugadores->count() && fuentes.porFrame; ++j) {
            if (j == seguido || listaJugadores->item(j)->checkState() == Qt::Checked) {
                agregaSerie(fuentes.porFrame(j), nombres[j], zul::colorSobreBlanco(j),
                            j == seguido ? kGrosorDestacado : kGrosor);
            }
        }
    } else if (seguido >= 0 && fuentes.porVuelta) {
        const zul::VueltasGrafica vueltas = fuentes.porVuelta(seguido);
        const QColor color = zul::colorSobreBlanco(seguido);
        for (std::size_t i = 0; i < vueltas.vueltas.size(); ++i) {
            const zul::VueltaGrafica& v = vueltas.vueltas[i];
            if (v.puntos.empty()) {
                continue;
            }
            const bool esMejor = static_cast<int>(i) == vueltas.mejor;
            const QString texto = v.tiempo >= 0
                                      ? tr("Vuelta %1 (%2 pasos)").arg(v.numero).arg(v.tiempo)
                                      : tr("Vuelta %1 (en curso)").arg(v.numero);
            if (esMejor) {
                mejor = static_cast<int>(seriesMostradas.size());
            }
            agregaSerie(v.puntos, esMejor ? tr("%1, la mejor").arg(texto) : texto,
                        esMejor ? color : palido(color), esMejor ? kGrosorDestacado : kGrosor);
        }
        const QString mejorTexto =
            vueltas.mejor >= 0
                ? tr("; la mejor, la %1 (%2 pasos)")
                      .arg(vueltas.vueltas[static_cast<std::size_t>(vueltas.mejor)].numero)
                      .arg(vueltas.vueltas[static_cast<std::size_t>(vueltas.mejor)].tiempo)
                : QString();
        chart->setTitle(
            clase == Delta
                ? tr("Pasos por detrás del fantasma: %1, vuelta a vuelta%2").arg(nombre, mejorTexto)
                : tr("Velocidad de %1, vuelta a vuelta%2").arg(nombre, mejorTexto));
    }
    auto* ejeX = new QValueAxis;
    auto* ejeY = new QValueAxis;
    ejeX->setTitleText(actual == PorFrames ? tr("Paso") : tr("Fracción de la vuelta"));
    ejeY->setTitleText(clase == Delta ? tr("Diferencia (pasos)") : tr("Velocidad (casillas/paso)"));
    chart->addAxis(ejeX, Qt::AlignBottom);
    chart->addAxis(ejeY, Qt::AlignLeft);
    double minX = std::numeric_limits<double>::infinity();
    double maxX = -minX;
    double minY = clase == Delta ? 0.0 : minX;
    double maxY = clase == Delta ? 0.0 : -minX;
    for (const zul::SerieGrafica& serie : datos) {
        for (const zul::PuntoGrafica& p : serie) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
    }
    // Pale laps first, so the best one is drawn over them.
    for (std::size_t i = 0; i < seriesMostradas.size(); ++i) {
        if (static_cast<int>(i) != mejor) {
            chart->addSeries(seriesMostradas[i]);
        }
    }
    if (mejor >= 0) {
        chart->addSeries(seriesMostradas[static_cast<std::size_t>(mejor)]);
    }
    for (QXYSeries* serie : seriesMostradas) {
        serie->attachAxis(ejeX);
        serie->attachAxis(ejeY);
    }
    if (actual == PorFrames) {
        zul::ajustaEje(ejeX, std::min(minX, 0.0), std::max(maxX, 1.0));
        zul::ajustaEjeContinuo(ejeY, 0.0, maxY, 1);
    } else {
        ejeX->setRange(0.0, 1.0);
        ejeX->setTickCount(5);
        ejeX->setLabelFormat(QStringLiteral("%.2f"));
        zul::ajustaEjeContinuo(ejeY, clase == Delta ? minY : 0.0, maxY, 1);
    }
    if (clase == Delta) {
        // The line of no difference.
        auto* cero = new QLineSeries;
        cero->setName(tr("Igual que el fantasma"));
        QPen lapiz(QColor(60, 60, 60));
        lapiz.setStyle(Qt::DashLine);
        cero->setPen(lapiz);
        cero->append(0.0, 0.0);
        cero->append(1.0, 0.0);
        chart->addSeries(cero);
        cero->attachAxis(ejeX);
        cero->attachAxis(ejeY);
    }
    chart->legend()->setVisible(actual == PorVueltas &&
                                static_cast<int>(seriesMostradas.size()) <= kVueltasConLeyenda);
    chart->legend()->setAlignment(Qt::AlignRight);
    if (actual == PorFrames) {
        chart->legend()->setVisible(false); // the list beside it names them
    }
    QChart* anterior = vistaGrafica->chart();
    vistaGrafica->setChart(chart);
    delete anterior;
}
