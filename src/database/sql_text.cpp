#include "sql_text.h"

QString quotedValue(const QString& value) {
    QString doubled = value;
    return doubled.replace(QLatin1Char('\''), QLatin1String("''"));
}
