#pragma once

#include <QDialog>
#include <QString>

#include <exception>
#include <memory>

class CSeleccionarArchivo;
class CVentana;
class QComboBox;
class QMessageBox;
class QPushButton;
class QShowEvent;

// The "Abrir carrera" dialog: a race log and a map path. Accepting builds the
// main window from them exactly as the command line does; when that fails the
// error is shown and the dialog stays open for another try.
class CDialogoAbrir : public QDialog {
    Q_OBJECT

public:
    explicit CDialogoAbrir(QWidget* parent = nullptr);
    ~CDialogoAbrir() override;

    CSeleccionarArchivo* selectorCarrera() const { return seleccionCarrera; }
    CSeleccionarArchivo* selectorMapa() const { return seleccionMapa; }
    // Optional: another run of the same map, shown as a ghost, and how it is
    // aligned ("Por paso", "Por vuelta").
    CSeleccionarArchivo* selectorFantasma() const { return seleccionFantasma; }
    QComboBox* selectorAlineacion() const { return alineacion; }
    QPushButton* aceptar() const { return botonAceptar; }
    QPushButton* cancelar() const { return botonCancelar; }

    // The window built by the last successful accept, handed over to the
    // caller (with no parent); null before that.
    std::unique_ptr<CVentana> tomarVentana();

    // Builds the main window from two paths as the command line does; on
    // failure shows the error in a modal box over padre and returns null.
    static std::unique_ptr<CVentana> construyeVentana(const QString& rutaCarrera,
                                                      const QString& rutaMapa, QWidget* padre);

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void actualizaAceptar();

private:
    CSeleccionarArchivo* seleccionCarrera;
    CSeleccionarArchivo* seleccionMapa;
    CSeleccionarArchivo* seleccionFantasma;
    QComboBox* alineacion;
    QPushButton* botonAceptar;
    QPushButton* botonCancelar;
    std::unique_ptr<CVentana> ventana;
};

// Fills a message box with a start-up error: the error's text and, for the
// errors about one input file, which file it is and, when it did not open, why.
void explicaError(QMessageBox& caja, const std::exception& error);
