#pragma once

#include <QString>
#include <QStringView>

// A text buffer that grows by whole chunks, so that a long string read character run by character
// run does not cost one reallocation per piece. Length and capacity count characters.
class cStringBuilder {
public:
    static constexpr qsizetype kChunk = 8192; // characters (16,384 bytes)

    cStringBuilder() = default;

    // Copies the text in after the current content, raising the capacity by whole chunks first
    // when it would not fit.
    void Append(QStringView texto);
    void Append(QChar c) { Append(QStringView(&c, 1)); }

    // The content: the first `Length()` characters of the buffer (empty when nothing was appended).
    QString toString() const;

    // Forgets the content but keeps the buffer, so one builder serves many strings of a parse.
    void Clear() { longitud_ = 0; }

    qsizetype Length() const { return longitud_; }
    qsizetype Capacity() const { return capacidad_; }

private:
    QString buffer_;
    qsizetype longitud_ = 0;
    qsizetype capacidad_ = 0;
};
