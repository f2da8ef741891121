#pragma once

#include "numbered_error.h"

// A failure of the serial printer port, numbered as the job handling tells them apart.
class SerialPortError : public NumberedError {
public:
    static constexpr std::int32_t invalidPortNumber = 8002;
    static constexpr std::int32_t portAlreadyOpen = 8005;
    static constexpr std::int32_t deviceUnavailable = 8010;
    static constexpr std::int32_t invalidSettings = 380;

    using NumberedError::NumberedError;
};
