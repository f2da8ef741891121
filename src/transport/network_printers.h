#pragma once

#include <QString>
#include <stdexcept>
#include <vector>

// Where one network kitchen printer listens, as the store's printer list gives it.
struct NetworkPrinterAddress {
    QString host;
    qint32 port = 0;

    // The printer as the error log and the status list name it.
    QString printerName() const { return QStringLiteral("프린터 %1:%2").arg(host).arg(port); }
};

// The store's network printers, numbered 1..N in the order the printer rows came; the number
// is the printer number the job run passes around.
class NetworkPrinters {
public:
    void add(NetworkPrinterAddress printer) { printers_.push_back(std::move(printer)); }
    qint16 count() const { return static_cast<qint16>(printers_.size()); }
    // Printer 1..N. Throws std::out_of_range for any other number.
    const NetworkPrinterAddress& at(qint16 number) const {
        if (number < 1 || number > count()) {
            throw std::out_of_range("no network printer " + std::to_string(number));
        }
        return printers_.at(static_cast<std::size_t>(number - 1));
    }

private:
    std::vector<NetworkPrinterAddress> printers_;
};
