#pragma once

// The main window connected to a stand-in tablet, as a user does it: address, then "Conectar".
#include "ServidorTableta.h"
#include "Ventanas.h"

#include "app/FrmPrincipal.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

inline bool conectarPrincipal(FrmPrincipal& v, const ServidorTableta& t) {
    control<QLineEdit>(v, "TxtDir")->setText(QStringLiteral("127.0.0.1:%1").arg(t.puerto()));
    v.conectarTablet();
    return QTest::qWaitFor(
        [&] { return control<QPushButton>(v, "CmdConectar")->text() == QStringLiteral("Conectado..."); },
        5000);
}
