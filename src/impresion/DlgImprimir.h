#pragma once

#include "impresion/DibujoDocumento.h"
#include "impresion/DocumentoImpreso.h"
#include "impresion/EscrituraPdf.h"
#include "ui/TrabajoVentana.h"

#include <QDate>
#include <QDialog>

#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;

// "Imprimir": the farm's name (kept for every printed page once given), the paper and its
// orientation, and the day for a document of one day; then the preview before printing, the
// printer, or a PDF file. The document is built anew for each of them, so it shows the data of
// that moment.
class DlgImprimir : public QDialog {
    Q_OBJECT
public:
    // Builds the document of a day (the day is invalid for a document without one); an empty
    // `error` when it could be built.
    using Fuente = std::function<DocumentoImpreso::Documento(const QDate& dia, QString* error)>;

    DlgImprimir(const QString& titulo, Fuente fuente, std::optional<QDate> dia = std::nullopt,
                QWidget* parent = nullptr);
    ~DlgImprimir() override;

    DibujoDocumento::Papel papel() const;
    // A PDF is being written.
    bool escribiendo() const { return escritura_.enCurso(); }

public Q_SLOTS:
    void verVistaPrevia();
    void imprimirDocumento();
    void guardarPdf();

private:
    // The document with the farm's name as typed (saved for the next time); none after a failure
    // already told.
    std::optional<DocumentoImpreso::Documento> documento();
    // The paper of the window and the document's title, for the preview and the printer alike.
    void prepararImpresora(QPrinter& impresora, const QString& titulo) const;

    TrabajoVentana<EscrituraPdf> escritura_;
    Fuente fuente_;
    QString titulo_;
    QLabel* LblGranja;
    QLineEdit* TxtGranja;
    QLabel* LblFecha = nullptr;
    QDateEdit* DTFECHA = nullptr;
    QLabel* LblPapel;
    QComboBox* CmbPapel;
    QLabel* LblOrientacion;
    QComboBox* CmbOrientacion;
    QPushButton* CmdVista;
    QPushButton* CmdImprimir;
    QPushButton* CmdPdf;
    QPushButton* CmdCerrar;
};
