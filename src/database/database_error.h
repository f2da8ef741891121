#pragma once

#include "numbered_error.h"

// A failed database operation, numbered the way the job handling tells failures apart.
class DatabaseError : public NumberedError {
public:
    // The number under which a lost connection is reported (hexadecimal 80004005).
    static constexpr std::int32_t lostConnection = -2147467259;
    // A column the row does not have.
    static constexpr std::int32_t itemNotFound = 3265;
    // Reading a row where there is none.
    static constexpr std::int32_t noCurrentRow = 3021;
    // Any other failure reported by the driver.
    static constexpr std::int32_t driverFailure = -2147217900;

    using NumberedError::NumberedError;
};
