#include "sql_literals.h"

#include "codepage949.h"
#include "sql_text.h"

#include <QDateTime>
#include <QRegularExpression>
#include <sql.h>
#include <sqlext.h>

namespace {

bool fitsCodePage949(const QString& text) {
    return fromCodePage949(toCodePage949(text)) == text;
}

QString textLiteral(const QString& text) {
    const QString quoted = QLatin1Char('\'') + quotedValue(text) + QLatin1Char('\'');
    return fitsCodePage949(text) ? quoted : QLatin1Char('N') + quoted;
}

// Long text columns cannot be compared with "=" on every server; Like with every pattern
// character escaped matches the value exactly.
QString likeCondition(const QString& column, const QString& text) {
    static const QRegularExpression patternCharacters(QStringLiteral("([!%_\\[])"));
    QString escaped = text;
    escaped.replace(patternCharacters, QStringLiteral("!\\1"));
    return column + QStringLiteral(" Like ") + textLiteral(escaped) + QStringLiteral(" Escape '!'");
}

QString timestampLiteral(const QDateTime& at) {
    return QStringLiteral("{ts '%1'}").arg(at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")));
}

bool isLongText(const QSqlField& field) {
    return field.typeID() == SQL_LONGVARCHAR || field.typeID() == SQL_WLONGVARCHAR;
}

} // namespace

QString identifierText(const QString& name, const QString& quote) {
    static const QRegularExpression plain(QStringLiteral("^[a-z_\\p{Lo}][a-z0-9_\\p{Lo}]*$"));
    if (plain.match(name).hasMatch() || quote.trimmed().isEmpty()) {
        return name;
    }
    QString doubled = name;
    return quote + doubled.replace(quote, quote + quote) + quote;
}

QString matchingCondition(const QString& column, const QSqlField& field) {
    const QVariant value = field.value();
    if (value.isNull()) {
        return column + QStringLiteral(" Is Null");
    }
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return column + QStringLiteral(" = ") + value.toString();
    case QMetaType::Double:
        return column + QStringLiteral(" = ") + QString::number(value.toDouble(), 'g', 17);
    case QMetaType::Bool:
        return column + (value.toBool() ? QStringLiteral(" = 1") : QStringLiteral(" = 0"));
    case QMetaType::QDateTime: {
        const QDateTime at = value.toDateTime();
        return column + QStringLiteral(" >= ") + timestampLiteral(at) + QStringLiteral(" and ") +
               column + QStringLiteral(" < ") + timestampLiteral(at.addMSecs(1));
    }
    case QMetaType::QDate:
        return column + QStringLiteral(" = {d '%1'}").arg(value.toDate().toString(Qt::ISODate));
    default:
        break;
    }
    const QString text = value.toString();
    return isLongText(field) ? likeCondition(column, text)
                             : column + QStringLiteral(" = ") + textLiteral(text);
}
