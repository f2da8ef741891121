#pragma once

#include <QByteArray>
#include <QString>

// The one place where program text becomes code page 949 bytes (printers, logs, the
// configuration file) and back.
QByteArray toCodePage949(const QString& text);
QString fromCodePage949(const QByteArray& bytes);
