#include "key_value_line.h"

#include "value_conversion.h"

QString valueOfLine(const QString& line) {
    const qsizetype equals = line.indexOf('=');
    return trimBlanks(equals < 0 ? line : line.mid(equals + 1));
}

QString keyOfLine(const QString& line) {
    const qsizetype equals = line.indexOf('=');
    return equals < 0 ? QString() : trimBlanks(line.left(equals));
}
