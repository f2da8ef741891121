#pragma once

#include "numbered_error.h"

// A failure of the serial printer port, numbered as the job handling tells them apart.
class SerialPortError : public NumberedError {
public:
    static constexpr std::int32_t invalidPortNumber = 8002;
    static constexpr std::int32_t portAlreadyOpen = 8005;
    static constexpr std::int32_t deviceUnavailable = 8010;
    // The printer took no byte for a while: out of paper, switched off or unplugged.
    static constexpr std::int32_t printerNotTaking = 8020;
    static constexpr std::int32_t invalidSettings = 380;

    using NumberedError::NumberedError;
};
