#pragma once

#include "numbered_error.h"

// A send to a network printer that failed: the connection is gone or the socket refused it.
class NetworkPrinterError : public NumberedError {
public:
    static constexpr std::int32_t sendFailed = 10053;

    explicit NetworkPrinterError(const QString& description)
        : NumberedError(sendFailed, description) {}
};
