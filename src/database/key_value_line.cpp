#include "key_value_line.h"

QString valueOfLine(const QString& line) {
    const qsizetype equals = line.indexOf('=');
    QString value = equals < 0 ? line : line.mid(equals + 1);
    qsizetype begin = 0;
    qsizetype end = value.size();
    while (begin < end && value.at(begin) == ' ') {
        ++begin;
    }
    while (end > begin && value.at(end - 1) == ' ') {
        --end;
    }
    return value.mid(begin, end - begin);
}
