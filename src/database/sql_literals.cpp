#include "sql_literals.h"

#include "codepage949.h"
#include "sql_text.h"

#include <QDateTime>
#include <QLocale>
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

QString timestampLiteral(const QDateTime& at) {
    return QStringLiteral("{ts '%1'}").arg(at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")));
}

// An ODBC {ts} literal is a datetime on SQL Server, itself rounded to 1/300 s; datetime2(7)
// holds every millisecond exactly, and the column's own value is compared with it unrounded.
QString sqlServerTimeLiteral(const QDateTime& at) {
    return QStringLiteral("Convert(datetime2(7), '%1', 121)")
        .arg(at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")));
}

QString sqlServerTimeCondition(const QString& column, const QSqlField& field) {
    const StoredTimeRange range =
        sqlServerStoredTimeRange(field.value().toDateTime(), field.precision());
    if (range.from == range.to) {
        return column + QStringLiteral(" = ") + sqlServerTimeLiteral(range.from);
    }
    return column + (range.fromIncluded ? QStringLiteral(" >= ") : QStringLiteral(" > ")) +
           sqlServerTimeLiteral(range.from) + QStringLiteral(" and ") + column +
           (range.toIncluded ? QStringLiteral(" <= ") : QStringLiteral(" < ")) +
           sqlServerTimeLiteral(range.to);
}

// The rig's timestamps keep microseconds; the millisecond read holds the stored value.
QString postgreSqlTimeCondition(const QString& column, const QDateTime& at) {
    return column + QStringLiteral(" >= ") + timestampLiteral(at) + QStringLiteral(" and ") +
           column + QStringLiteral(" < ") + timestampLiteral(at.addMSecs(1));
}

// SQL Server compares text and ntext with nothing, and varchar(max) only through a cast.
QString longTextCondition(SqlDialect dialect, const QString& column, const QString& text) {
    if (dialect == SqlDialect::postgreSql) {
        return column + QStringLiteral(" = ") + textLiteral(text);
    }
    return QStringLiteral("Cast(%1 As nvarchar(max)) = N'%2'").arg(column, quotedValue(text));
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

StoredTimeRange sqlServerStoredTimeRange(const QDateTime& read, int decimalDigits) {
    constexpr int exactDigits = 2;
    constexpr int datetimeDigits = 3;
    if (decimalDigits <= exactDigits) {
        return {read, true, read, true};
    }
    // datetime compares with datetime2 as its exact 1/300 s, or, at compatibility levels
    // below 130, as the millisecond it displays: either lies in this window, which is narrower
    // than the 3.3 ms between two of its values.
    if (decimalDigits == datetimeDigits) {
        return {read.addMSecs(-1), false, read.addMSecs(1), true};
    }
    return {read, true, read.addMSecs(1), false};
}

QString matchingCondition(SqlDialect dialect, const QString& column, const QSqlField& field,
                          const QString& exactNumber) {
    const QVariant value = field.value();
    if (value.isNull()) {
        return column + QStringLiteral(" Is Null");
    }
    static const QRegularExpression decimalLiteral(QStringLiteral("^[+-]?[0-9]+(\\.[0-9]*)?$"));
    if (decimalLiteral.match(exactNumber).hasMatch()) {
        return column + QStringLiteral(" = ") + exactNumber;
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
        // A floating-point column: the shortest text that reads back as the same double.
        return column + QStringLiteral(" = ") +
               QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::Bool:
        return column + (value.toBool() ? QStringLiteral(" = '1'") : QStringLiteral(" = '0'"));
    case QMetaType::QDateTime:
        return dialect == SqlDialect::sqlServer
                   ? sqlServerTimeCondition(column, field)
                   : postgreSqlTimeCondition(column, value.toDateTime());
    case QMetaType::QDate:
        return column + QStringLiteral(" = {d '%1'}").arg(value.toDate().toString(Qt::ISODate));
    default:
        break;
    }
    const QString text = value.toString();
    return isLongText(field) ? longTextCondition(dialect, column, text)
                             : column + QStringLiteral(" = ") + textLiteral(text);
}
