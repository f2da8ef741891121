#include "serial_settings.h"

#include "serial_port_error.h"

#include <QStringList>

namespace {

[[noreturn]] void invalid(const QString& text) {
    throw SerialPortError(SerialPortError::invalidSettings,
                          QStringLiteral("잘못된 포트 설정입니다: '%1'").arg(text));
}

QSerialPort::Parity parityOf(const QString& letter, const QString& text) {
    const QString upper = letter.trimmed().toUpper();
    if (upper == QLatin1String("N")) {
        return QSerialPort::NoParity;
    }
    if (upper == QLatin1String("E")) {
        return QSerialPort::EvenParity;
    }
    if (upper == QLatin1String("O")) {
        return QSerialPort::OddParity;
    }
    if (upper == QLatin1String("M")) {
        return QSerialPort::MarkParity;
    }
    if (upper == QLatin1String("S")) {
        return QSerialPort::SpaceParity;
    }
    invalid(text);
}

// Four data bits are a valid setting of the text but no port here can run them.
QSerialPort::DataBits dataBitsOf(const QString& field, const QString& text) {
    bool ok = false;
    const int bits = field.trimmed().toInt(&ok);
    if (!ok || bits < 5 || bits > 8) {
        invalid(text);
    }
    return static_cast<QSerialPort::DataBits>(bits);
}

QSerialPort::StopBits stopBitsOf(const QString& field, const QString& text) {
    const QString value = field.trimmed();
    if (value == QLatin1String("1")) {
        return QSerialPort::OneStop;
    }
    if (value == QLatin1String("1.5")) {
        return QSerialPort::OneAndHalfStop;
    }
    if (value == QLatin1String("2")) {
        return QSerialPort::TwoStop;
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
    if (!ok || baudRate <= 0) {
        invalid(text);
    }
    return SerialSettings{baudRate, parityOf(fields.at(1), text), dataBitsOf(fields.at(2), text),
                          stopBitsOf(fields.at(3), text)};
}
