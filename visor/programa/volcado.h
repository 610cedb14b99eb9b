#pragma once

#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QTimer>

class QWidget;

// The debug dump of the window program, for scenario tests, layout checks
// and bug reports. It writes up to two files, each replaced at once and only
// when its content changed, once the layout has settled: kAsientoMs after the
// last resize, show, hide or font change (at most kEsperaMaximaMs late while
// it keeps changing), and otherwise looked at every kIntervaloMs.
//
// ZUL_VOLCADO names the state picture: for each visible widget its class,
// objectName, geometry in its window's coordinates, visible text, whether
// that text is cut (recortado: its size hint does not fit its size) or
// elided (elidido: it ends in "…"), enabled, and per kind: a check box's
// state, a number field's value, a combo box's choice, a table's rows with
// the bold ones, and the properties a widget class of the viewer declares;
// also the focus widget.
// ZUL_VOLCADO_GEOMETRIA names the geometry picture (volcadoGeometria()).
class CVolcado : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kVariable = "ZUL_VOLCADO";
    static constexpr const char* kVariableGeometria = "ZUL_VOLCADO_GEOMETRIA";
    static constexpr int kIntervaloMs = 100;
    static constexpr int kAsientoMs = 150;
    static constexpr int kEsperaMaximaMs = 1000;

    // Starts writing when either variable is set; otherwise does nothing.
    static void instalaSiSePide(QObject* aplicacion);

    CVolcado(QString rutaEstado, QString rutaGeometria, QObject* parent = nullptr);

    // The picture of one window.
    static QJsonObject volcadoVentana(QWidget* ventana);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    struct Salida {
        QString ruta;
        QByteArray ultimo;
    };
    static void escribeSiCambia(Salida& salida, const QByteArray& datos);
    static QByteArray volcadoEstado();
    void escribe();

    Salida estado;
    Salida geometria;
    QTimer asiento;
    QTimer sondeo;
    QElapsedTimer pendiente;
};
