#include "codepage949.h"

#include "codepage949_platform.h"

QByteArray toCodePage949(const QString& text) {
    return QByteArray::fromStdString(codepage949::encode(text.toStdU16String()));
}

QString fromCodePage949(const QByteArray& bytes) {
    return QString::fromStdU16String(
        codepage949::decode(std::string_view(bytes.constData(), bytes.size())));
}
