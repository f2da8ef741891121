#pragma once

#include <QString>
#include <stdexcept>

// A send to a network printer that failed: the connection is gone or the socket refused it.
class NetworkPrinterError : public std::runtime_error {
  public:
    explicit NetworkPrinterError(const QString& description)
        : std::runtime_error(description.toStdString()), description_(description) {}

    const QString& description() const { return description_; }

  private:
    QString description_;
};
