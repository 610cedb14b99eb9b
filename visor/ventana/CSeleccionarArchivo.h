#pragma once

#include <QString>
#include <QWidget>

#include <string>

class QHBoxLayout;
class QLineEdit;
class QPushButton;

// A field for the path of one existing file, with an "Examinar..." button
// beside it that fills the field from the open-file dialog.
class CSeleccionarArchivo : public QWidget {
    Q_OBJECT

public:
    explicit CSeleccionarArchivo(QWidget* parent = nullptr);

    // The field's text in 8 bits (Latin-1): characters outside Latin-1 come
    // back as "?". Not fit for opening the file: use ruta() for that.
    std::string obtenerArchivo() const;

    // The field's text unchanged, to be encoded with QFile::encodeName before
    // it reaches fopen.
    QString ruta() const;
    void ponRuta(const QString& ruta);

public slots:
    void examinar();

signals:
    // Whenever the field's text changes, typed or chosen.
    void rutaCambiada(const QString& ruta);

private:
    QPushButton* botonExaminar;
    QLineEdit* lineaArchivo;
    QHBoxLayout* disposicion;
};
