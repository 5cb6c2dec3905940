#include "web/cStringBuilder.h"

#include <cstring>

void cStringBuilder::Append(QStringView texto) {
    const qsizetype n = texto.size();
    if (n == 0)
        return;
    if (longitud_ + n > capacidad_) {
        while (longitud_ + n > capacidad_)
            capacidad_ += kChunk;
        buffer_.resize(capacidad_);
    }
    std::memcpy(buffer_.data() + longitud_, texto.data(), static_cast<size_t>(n) * sizeof(QChar));
    longitud_ += n;
}

QString cStringBuilder::toString() const {
    if (longitud_ == 0)
        return QString();
    return QString(buffer_.constData(), longitud_);
}
