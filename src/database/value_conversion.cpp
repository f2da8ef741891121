#include "value_conversion.h"

#include <cmath>
#include <limits>

namespace {

QString shown(const QVariant& value) {
    return value.isNull() ? QStringLiteral("Null") : QLatin1Char('\'') + value.toString() + '\'';
}

[[noreturn]] void typeMismatch(const QVariant& value, const QString& what) {
    throw ConversionError(
        ConversionError::Kind::TypeMismatch,
        QStringLiteral("형식이 일치하지 않습니다 (%1: %2)").arg(what, shown(value)));
}

[[noreturn]] void overflow(const QVariant& value, const QString& what) {
    throw ConversionError(ConversionError::Kind::Overflow,
                          QStringLiteral("오버플로 (%1: %2)").arg(what, shown(value)));
}

template <typename Integer> Integer toInteger(const QVariant& value, const QString& what) {
    const std::optional<double> number = numberOf(value);
    if (!number) {
        typeMismatch(value, what);
    }
    const double rounded = std::nearbyint(*number); // the default rounding mode is half-to-even
    if (rounded < std::numeric_limits<Integer>::min() ||
        rounded > std::numeric_limits<Integer>::max()) {
        overflow(value, what);
    }
    return static_cast<Integer>(rounded);
}

} // namespace

QString trimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == ' ') {
        ++begin;
    }
    while (end > begin && text.at(end - 1) == ' ') {
        --end;
    }
    return text.mid(begin, end - begin);
}

std::optional<double> numberOf(const QVariant& value) {
    if (value.isNull()) {
        return std::nullopt;
    }
    bool ok = false;
    const double number = value.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number)) {
        return std::nullopt;
    }
    return number;
}

qint16 toInt16(const QVariant& value, const QString& what) {
    return toInteger<qint16>(value, what);
}

qint32 toInt32(const QVariant& value, const QString& what) {
    return toInteger<qint32>(value, what);
}

double toDouble(const QVariant& value, const QString& what) {
    const std::optional<double> number = numberOf(value);
    if (!number) {
        typeMismatch(value, what);
    }
    return *number;
}

bool toYesNo(const QVariant& value, const QString& what) {
    const QString text = value.toString().trimmed();
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        return false;
    }
    return toDouble(value, what) != 0.0;
}
