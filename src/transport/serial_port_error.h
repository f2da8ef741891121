#pragma once

#include <QString>
#include <cstdint>
#include <stdexcept>

// A failure of the serial printer port, numbered as the job handling tells them apart.
class SerialPortError : public std::runtime_error {
  public:
    static constexpr std::int32_t invalidPortNumber = 8002;
    static constexpr std::int32_t portAlreadyOpen = 8005;
    static constexpr std::int32_t deviceUnavailable = 8010;
    static constexpr std::int32_t invalidSettings = 380;

    SerialPortError(std::int32_t number, const QString& description)
        : std::runtime_error(description.toStdString()), number_(number),
          description_(description) {}

    std::int32_t number() const { return number_; }
    const QString& description() const { return description_; }

  private:
    std::int32_t number_;
    QString description_;
};
