#include "core/RangoPartido.h"

#include <QThread>

bool RangoPartido::conviene(QDate desde, QDate hasta) {
    return desde.daysTo(hasta) >= 60 && QThread::idealThreadCount() > 1;
}
