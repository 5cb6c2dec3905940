#include "ui/EntradaFechaHora.h"

#include <QDateTimeEdit>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

namespace {
class AlEntrar : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        // Checked, not assumed: a box being destroyed still sends its focus-out through here,
        // when it is a plain widget already.
        auto* caja = qobject_cast<QDateTimeEdit*>(o);
        if (!caja)
            return false;
        if (e->type() == QEvent::KeyPress) {
            const QString texto = static_cast<QKeyEvent*>(e)->text();
            const bool digito = texto.size() == 1 && texto.at(0).isDigit();
            // A digit that fills its section moves on by itself; the separator typed after it
            // ("07/12/2026") must not skip the next section too.
            const bool saltado = ultimoDigito_ && caja->currentSectionIndex() != seccionDelDigito_;
            ultimoDigito_ = digito;
            seccionDelDigito_ = caja->currentSectionIndex();
            if (saltado && texto.size() == 1 && !digito && texto.at(0).isPrint() && !texto.at(0).isLetter()) {
                ultimoDigito_ = false;
                return true;
            }
            return false;
        }
        if (e->type() == QEvent::FocusIn && static_cast<QFocusEvent*>(e)->reason() == Qt::MouseFocusReason) {
            // The click itself places the cursor after the focus arrives: select once it is done.
            ultimoDigito_ = false;
            QPointer<QDateTimeEdit> viva = caja;
            QTimer::singleShot(0, caja, [viva] {
                if (viva && viva->hasFocus())
                    viva->setSelectedSection(viva->sectionAt(0));
            });
        }
        return false;
    }

private:
    bool ultimoDigito_ = false;
    int seccionDelDigito_ = -1;
};
} // namespace

namespace EntradaFechaHora {

void desdeElPrincipio(QDateTimeEdit* caja) {
    caja->installEventFilter(new AlEntrar(caja));
}

} // namespace EntradaFechaHora
