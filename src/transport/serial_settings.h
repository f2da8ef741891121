#pragma once

#include <QSerialPort>
#include <QString>

// Line settings in the text form the POS stores: "baud,parity,data bits,stop bits", for
// example "9600,N,8,1". Parity is one of N, E, O, M, S in any case; stop bits 1, 1.5 or 2.
struct SerialSettings {
    qint32 baudRate = 9600;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
};

// Throws SerialPortError (invalid settings) for a text the port cannot take.
SerialSettings parseSerialSettings(const QString& text);
