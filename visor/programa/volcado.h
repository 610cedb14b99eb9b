#pragma once

#include <QJsonObject>
#include <QObject>
#include <QString>

class QWidget;

// A debugging aid for scenario tests and layout checks: with the environment
// variable ZUL_VOLCADO set to a path, the window program writes there, every
// kIntervaloMs and replacing the file at once, a JSON picture of its visible
// windows. For each visible widget: class, objectName, geometry in its
// window's coordinates, visible text, whether that text is cut (recortado:
// its size hint does not fit its size) or elided (elidido: it ends in "…"),
// enabled, and per kind: a check box's state, a number field's value, a combo
// box's choice, a table's rows with the bold ones, and the properties a
// widget class of the viewer declares. It also names the focus widget.
class CVolcado : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kVariable = "ZUL_VOLCADO";
    static constexpr int kIntervaloMs = 100;

    // Starts writing when kVariable is set; otherwise does nothing.
    static void instalaSiSePide(QObject* padre);

    explicit CVolcado(QString ruta, QObject* parent = nullptr);

    // The picture of one window.
    static QJsonObject volcadoVentana(QWidget* ventana);

private:
    void escribe();

    QString destino;
    QByteArray ultimo;
};
