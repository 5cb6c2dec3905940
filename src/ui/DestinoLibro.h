#pragma once

#include <QString>

class QWidget;

// Where a workbook is to be written, asked through the dialog layer: the save dialog (titled
// `titulo`, opening in the data folder), the name given the .xlsx extension, then, since the
// dialog does not ask and the name may have just gained its extension, whether to replace a file
// already there. The native path, or empty when the user gave up.
QString elegirDestinoLibro(QWidget* padre, const QString& titulo);
