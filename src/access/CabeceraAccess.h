#pragma once

#include <QByteArray>
#include <QString>

// The first page of an Access file, checked before libmdb is given the file: libmdb takes a file
// of zeros for a Jet 3 database and fails later, and reads past the end of a cut file without a
// word. Only the unencrypted start of the header is read (magic text and format byte).
namespace CabeceraAccess {

struct Formato {
    QString motivo; // why it is not a whole Access file, in Spanish; empty when it is
    bool valido() const { return motivo.isEmpty(); }
};

Formato examinar(const QByteArray& datos);

} // namespace CabeceraAccess
