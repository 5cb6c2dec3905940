#include "ui/VentanaInforme.h"

#include "core/Texto.h"
#include "ui/Accesible.h"
#include "ui/CalculoDiferido.h"
#include "ui/Controles.h"

#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace VentanaInforme {

Filtros construir(QDialog* ventana, const QString& nombre, const QString& titulo,
                  const QList<std::pair<QString, int>>& agrupaciones, CalculoDiferido& calculo,
                  const std::function<void()>& calcular) {
    calculo.preparar(ventana, calcular);
    ventana->setObjectName(nombre);
    ventana->setWindowTitle(titulo);
    ventana->setModal(true);
    Filtros f;
    f.raiz = new QVBoxLayout(ventana);
    f.fila = new QHBoxLayout;
    f.LblDesde = Controles::etiqueta("LblDesde", QStringLiteral("DESDE:"), ventana);
    f.DTDESDE = Controles::fecha("DTDESDE", QDate::currentDate().addDays(-30), f.LblDesde, ventana);
    f.LblHasta = Controles::etiqueta("LblHasta", QStringLiteral("HASTA:"), ventana);
    f.DTHASTA = Controles::fecha("DTHASTA", QDate::currentDate(), f.LblHasta, ventana);
    f.LblAgrupar = Controles::etiqueta("LblAgrupar", QStringLiteral("AGRUPAR POR:"), ventana);
    f.CmbAgrupar = new QComboBox(ventana);
    f.CmbAgrupar->setObjectName(QStringLiteral("CmbAgrupar"));
    for (const auto& [texto, numero] : agrupaciones)
        f.CmbAgrupar->addItem(texto, numero);
    Accesible::conEtiqueta(f.CmbAgrupar, f.LblAgrupar);
    for (QWidget* w : std::initializer_list<QWidget*>{f.LblDesde, f.DTDESDE, f.LblHasta, f.DTHASTA,
                                                      f.LblAgrupar, f.CmbAgrupar})
        f.fila->addWidget(w);
    f.raiz->addLayout(f.fila);
    const auto programar = [&calculo] { calculo.programar(); };
    QObject::connect(f.DTDESDE, &QDateEdit::dateChanged, ventana, programar);
    QObject::connect(f.DTHASTA, &QDateEdit::dateChanged, ventana, programar);
    QObject::connect(f.CmbAgrupar, &QComboBox::currentIndexChanged, ventana, programar);
    return f;
}

QTableView* tabla(const QString& nombre, const QString& accesible, QAbstractItemModel* modelo,
                  QWidget* padre) {
    auto* t = new QTableView(padre);
    t->setObjectName(nombre);
    t->setAccessibleName(accesible);
    t->setModel(modelo);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->verticalHeader()->setVisible(false);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

QChartView* grafico(const QString& nombre, const QString& accesible, QWidget* padre) {
    auto* g = new QChartView(padre);
    g->setObjectName(nombre);
    g->setAccessibleName(accesible);
    g->setRenderHint(QPainter::Antialiasing);
    g->chart()->setLocalizeNumbers(true);
    g->chart()->setLocale(Texto::regional());
    g->setMinimumHeight(220);
    return g;
}

} // namespace VentanaInforme
