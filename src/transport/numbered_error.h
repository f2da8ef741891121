#pragma once

#include <QString>
#include <cstdint>
#include <stdexcept>

// A failure that carries the number under which the job handling tells failures apart, and
// the description shown to the operator or written to the error log.
class NumberedError : public std::runtime_error {
public:
    NumberedError(std::int32_t number, const QString& description)
        : std::runtime_error(description.toStdString()), number_(number),
          description_(description) {}

    std::int32_t number() const { return number_; }
    const QString& description() const { return description_; }

private:
    std::int32_t number_;
    QString description_;
};
