#include "impresion/DlgImprimir.h"

#include "core/Mensaje.h"
#include "db/Preferencias.h"
#include "impresion/EscrituraPdf.h"
#include "ui/Accesible.h"
#include "ui/Controles.h"
#include "ui/Dialogos.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QComboBox* lista(const char* nombre, const QStringList& textos, QLabel* rotulo, QWidget* padre) {
    auto* c = new QComboBox(padre);
    c->setObjectName(QString::fromLatin1(nombre));
    c->addItems(textos);
    Accesible::conEtiqueta(c, rotulo);
    return c;
}
} // namespace

DlgImprimir::DlgImprimir(const QString& titulo, Fuente fuente, std::optional<QDate> dia, QWidget* parent)
    : QDialog(parent), fuente_(std::move(fuente)), titulo_(titulo) {
    setObjectName(QStringLiteral("DlgImprimir"));
    setWindowTitle(QStringLiteral("Imprimir: ") + titulo);
    auto* raiz = new QVBoxLayout(this);
    auto* campos = new QFormLayout;
    LblGranja = Controles::etiqueta("LblGranja", QStringLiteral("GRANJA:"), this);
    TxtGranja = Controles::caja("TxtGranja", LblGranja, this);
    TxtGranja->setText(Preferencias::granja());
    TxtGranja->setToolTip(QStringLiteral("Va en el encabezado de cada página; queda guardado."));
    campos->addRow(LblGranja, TxtGranja);
    if (dia) {
        LblFecha = Controles::etiqueta("LblFecha", QStringLiteral("DÍA:"), this);
        DTFECHA = Controles::fecha("DTFECHA", *dia, LblFecha, this);
        campos->addRow(LblFecha, DTFECHA);
    }
    LblPapel = Controles::etiqueta("LblPapel", QStringLiteral("PAPEL:"), this);
    CmbPapel = lista("CmbPapel", {QStringLiteral("A4"), QStringLiteral("Carta")}, LblPapel, this);
    campos->addRow(LblPapel, CmbPapel);
    LblOrientacion = Controles::etiqueta("LblOrientacion", QStringLiteral("ORIENTACIÓN:"), this);
    CmbOrientacion = lista("CmbOrientacion", {QStringLiteral("Vertical"), QStringLiteral("Horizontal")},
                           LblOrientacion, this);
    campos->addRow(LblOrientacion, CmbOrientacion);
    raiz->addLayout(campos);

    auto* botones = new QHBoxLayout;
    CmdVista = Controles::boton("CmdVista", QStringLiteral("VISTA PREVIA"), this);
    CmdImprimir = Controles::boton("CmdImprimir", QStringLiteral("IMPRIMIR"), this);
    CmdPdf = Controles::boton("CmdPdf", QStringLiteral("GUARDAR PDF"), this);
    CmdCerrar = Controles::boton("CmdCerrar", QStringLiteral("CERRAR"), this);
    for (QPushButton* b : {CmdVista, CmdImprimir, CmdPdf, CmdCerrar})
        botones->addWidget(b);
    raiz->addLayout(botones);

    connect(CmdVista, &QPushButton::clicked, this, &DlgImprimir::verVistaPrevia);
    connect(CmdImprimir, &QPushButton::clicked, this, &DlgImprimir::imprimirDocumento);
    connect(CmdPdf, &QPushButton::clicked, this, &DlgImprimir::guardarPdf);
    connect(CmdCerrar, &QPushButton::clicked, this, &QDialog::accept);
}

DlgImprimir::~DlgImprimir() = default;

DibujoDocumento::Papel DlgImprimir::papel() const {
    return {CmbPapel->currentIndex() == 1 ? QPageSize::Letter : QPageSize::A4,
            CmbOrientacion->currentIndex() == 1 ? QPageLayout::Landscape : QPageLayout::Portrait};
}

std::optional<DocumentoImpreso::Documento> DlgImprimir::documento() {
    const QString granja = TxtGranja->text().trimmed();
    if (granja != Preferencias::granja()) {
        if (const auto e = Preferencias::guardarGranja(granja))
            Dialogos::mostrar(this,
                              {QStringLiteral("No se pudo guardar el nombre de la granja: ") + e->descripcion,
                               Icono::Exclamacion});
    }
    QString error;
    setCursor(Qt::BusyCursor);
    DocumentoImpreso::Documento d = fuente_(DTFECHA ? DTFECHA->date() : QDate(), &error);
    unsetCursor();
    if (!error.isEmpty()) {
        Dialogos::mostrar(this,
                          {QStringLiteral("No se pudo preparar la impresión: ") + error, Icono::Critico});
        return std::nullopt;
    }
    d.granja = granja;
    return d;
}

void DlgImprimir::prepararImpresora(QPrinter& impresora, const QString& titulo) const {
    impresora.setPageLayout(DibujoDocumento::disposicion(papel()));
    impresora.setDocName(titulo);
}

void DlgImprimir::verVistaPrevia() {
    const auto d = documento();
    if (!d)
        return;
    QPrinter impresora(QPrinter::HighResolution);
    prepararImpresora(impresora, d->titulo);
    QPrintPreviewDialog vista(&impresora, this);
    vista.setObjectName(QStringLiteral("VistaPrevia"));
    vista.setWindowTitle(QStringLiteral("Vista previa: ") + titulo_);
    connect(&vista, &QPrintPreviewDialog::paintRequested, this,
            [&d](QPrinter* p) { DibujoDocumento::dibujar(*d, *p); });
    vista.exec();
}

void DlgImprimir::imprimirDocumento() {
    const auto d = documento();
    if (!d)
        return;
    QPrinter impresora(QPrinter::HighResolution);
    prepararImpresora(impresora, d->titulo);
    QPrintDialog elegir(&impresora, this);
    elegir.setObjectName(QStringLiteral("ElegirImpresora"));
    if (elegir.exec() != QDialog::Accepted)
        return;
    setCursor(Qt::BusyCursor);
    DibujoDocumento::dibujar(*d, impresora);
    unsetCursor();
}

void DlgImprimir::guardarPdf() {
    if (escritura_.enCurso())
        return; // one file at a time
    QString ruta = Dialogos::archivoGuardar(this, QStringLiteral("Guardar en PDF"), QDir::homePath(),
                                            QStringLiteral("Documentos PDF (*.pdf)"));
    if (ruta.isEmpty())
        return; // cancelled
    if (QFileInfo(ruta).suffix().isEmpty())
        ruta += QStringLiteral(".pdf");
    const auto d = documento();
    if (!d)
        return;
    setCursor(Qt::BusyCursor);
    CmdPdf->setEnabled(false);
    escritura_.iniciar(this, new EscrituraPdf(*d, papel(), ruta), [this](const ResultadoCon<QString>& r) {
        unsetCursor();
        CmdPdf->setEnabled(true);
        if (r.ok)
            Dialogos::mostrar(this, {QStringLiteral("PDF guardado en ") + QDir::toNativeSeparators(r.valor),
                                     Icono::Informacion});
        else if (!r.cancelado)
            Dialogos::mostrar(
                this, {QStringLiteral("No se pudo guardar el PDF: ") + r.descripcion, Icono::Critico});
    });
}
