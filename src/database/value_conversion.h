#pragma once

#include <QString>
#include <QVariant>
#include <optional>
#include <stdexcept>

// A database or settings value that does not convert to the number a rule needs.
class ConversionError : public std::runtime_error {
public:
    enum class Kind { TypeMismatch, Overflow };

    ConversionError(Kind kind, const QString& description)
        : std::runtime_error(description.toStdString()), kind_(kind), description_(description) {}

    Kind kind() const { return kind_; }
    const QString& description() const { return description_; }

private:
    Kind kind_;
    QString description_;
};

// The text without leading and trailing blanks; other white space stays.
QString trimBlanks(const QString& text);

// The value read as a number: a number column, or a text holding a decimal number with an
// optional sign, fraction and exponent. Null, empty and other texts give nothing.
std::optional<double> numberOf(const QVariant& value);

// Whole numbers round to the nearest integer, a half to the even neighbour. `what` names the
// value in the error's description. Throws ConversionError.
qint16 toInt16(const QVariant& value, const QString& what);
qint32 toInt32(const QVariant& value, const QString& what);
double toDouble(const QVariant& value, const QString& what);
// "True"/"False" in any case, or a number (non-zero is true).
bool toYesNo(const QVariant& value, const QString& what);
