#include "key_value_line.h"

#include "value_conversion.h"

QString valueOfLine(const QString& line) {
    const qsizetype equals = line.indexOf('=');
    return trimBlanks(equals < 0 ? line : line.mid(equals + 1));
}
