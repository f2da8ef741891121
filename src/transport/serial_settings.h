#pragma once

#include <QString>

// Line settings in the text form the POS stores: "baud,parity,data bits,stop bits", for
// example "9600,N,8,1". The baud rate is one of the rates serial printers are sold with;
// parity is one of N, E, O, M, S in any case; 5 to 8 data bits; stop bits 1, 1.5 or 2.
struct SerialSettings {
    enum class Parity { None, Even, Odd, Mark, Space };
    enum class StopBits { One, OneAndHalf, Two };

    qint32 baudRate = 9600;
    Parity parity = Parity::None;
    int dataBits = 8;
    StopBits stopBits = StopBits::One;
};

// Throws SerialPortError (invalid settings) for a text the port cannot take.
SerialSettings parseSerialSettings(const QString& text);
