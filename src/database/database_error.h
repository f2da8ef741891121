#pragma once

#include <QString>
#include <cstdint>
#include <stdexcept>

// A failed database operation, numbered the way the job handling tells failures apart.
class DatabaseError : public std::runtime_error {
  public:
    // The number under which a lost connection is reported (hexadecimal 80004005).
    static constexpr std::int32_t lostConnection = -2147467259;
    // A column the row does not have.
    static constexpr std::int32_t itemNotFound = 3265;
    // Reading a row where there is none.
    static constexpr std::int32_t noCurrentRow = 3021;
    // Any other failure reported by the driver.
    static constexpr std::int32_t driverFailure = -2147217900;

    DatabaseError(std::int32_t number, const QString& description)
        : std::runtime_error(description.toStdString()), number_(number),
          description_(description) {}

    std::int32_t number() const { return number_; }
    const QString& description() const { return description_; }

  private:
    std::int32_t number_;
    QString description_;
};
