#include "serial_settings.h"

#include "serial_port_error.h"

#include <QStringList>
#include <algorithm>
#include <array>

namespace {

// Any other rate is a typing error in the settings; "1,N,8,1" would turn one ticket into hours.
constexpr std::array<qint32, 15> standardBaudRates{110,   300,   600,    1200,   2400,
                                                   4800,  9600,  14400,  19200,  38400,
                                                   56000, 57600, 115200, 128000, 256000};

[[noreturn]] void invalid(const QString& text) {
    throw SerialPortError(SerialPortError::invalidSettings,
                          QStringLiteral("잘못된 포트 설정입니다: '%1'").arg(text));
}

SerialSettings::Parity parityOf(const QString& letter, const QString& text) {
    const QString upper = letter.trimmed().toUpper();
    if (upper == QLatin1String("N")) {
        return SerialSettings::Parity::None;
    }
    if (upper == QLatin1String("E")) {
        return SerialSettings::Parity::Even;
    }
    if (upper == QLatin1String("O")) {
        return SerialSettings::Parity::Odd;
    }
    if (upper == QLatin1String("M")) {
        return SerialSettings::Parity::Mark;
    }
    if (upper == QLatin1String("S")) {
        return SerialSettings::Parity::Space;
    }
    invalid(text);
}

// Four data bits are a valid setting of the text but no port here can run them.
int dataBitsOf(const QString& field, const QString& text) {
    bool ok = false;
    const int bits = field.trimmed().toInt(&ok);
    if (!ok || bits < 5 || bits > 8) {
        invalid(text);
    }
    return bits;
}

SerialSettings::StopBits stopBitsOf(const QString& field, const QString& text) {
    const QString value = field.trimmed();
    if (value == QLatin1String("1")) {
        return SerialSettings::StopBits::One;
    }
    if (value == QLatin1String("1.5")) {
        return SerialSettings::StopBits::OneAndHalf;
    }
    if (value == QLatin1String("2")) {
        return SerialSettings::StopBits::Two;
    }
    invalid(text);
}

} // namespace

SerialSettings parseSerialSettings(const QString& text) {
    const QStringList fields = text.split(QLatin1Char(','));
    if (fields.size() != 4) {
        invalid(text);
    }
    bool ok = false;
    const qint32 baudRate = fields.at(0).trimmed().toInt(&ok);
    if (!ok || std::find(standardBaudRates.begin(), standardBaudRates.end(), baudRate) ==
                   standardBaudRates.end()) {
        invalid(text);
    }
    return SerialSettings{baudRate, parityOf(fields.at(1), text), dataBitsOf(fields.at(2), text),
                          stopBitsOf(fields.at(3), text)};
}
