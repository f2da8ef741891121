#include "serial_port_error.h"
#include "serial_settings.h"

#include <gtest/gtest.h>

namespace {

std::int32_t failureNumber(const QString& text) {
    try {
        parseSerialSettings(text);
    } catch (const SerialPortError& error) {
        return error.number();
    }
    return 0;
}

} // namespace

// A rate outside the list printers are sold with is a typing error; "1,N,8,1" would make one
// ticket take hours.
TEST(SerialSettings, OnlyTheStandardBaudRatesAreAccepted) {
    for (const char* text : {"1,N,8,1", "0,N,8,1", "9601,N,8,1", "512000,N,8,1"}) {
        EXPECT_EQ(failureNumber(QString::fromLatin1(text)), SerialPortError::invalidSettings)
            << text;
    }
    EXPECT_EQ(parseSerialSettings(QStringLiteral("110,N,8,1")).baudRate, 110);
    EXPECT_EQ(parseSerialSettings(QStringLiteral("14400,e,7,2")).baudRate, 14400);
    EXPECT_EQ(parseSerialSettings(QStringLiteral("256000,N,8,1")).baudRate, 256000);
}
