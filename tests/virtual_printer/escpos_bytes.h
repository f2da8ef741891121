#pragma once

#include "codepage949.h"

#include <QByteArray>
#include <QString>

// What a kitchen printer receives, spelled out from the printer rules: ESC a n justification,
// GS ! n size (width (n >> 4) + 1, height (n & 0x0F) + 1), ESC i cut, CR LF line ends, text in
// code page 949.
namespace escpos_bytes {

inline const QByteArray alignLeft("\x1b\x61\x30", 3);
inline const QByteArray alignCenter("\x1b\x61\x31", 3);
inline const QByteArray alignRight("\x1b\x61\x32", 3);
inline const QByteArray sizeNormal("\x1d\x21\x00", 3);
inline const QByteArray doubleHeight("\x1d\x21\x01", 3);
inline const QByteArray doubleWidth("\x1d\x21\x10", 3);
inline const QByteArray doubleSize("\x1d\x21\x11", 3);
inline const QByteArray cut("\x1b\x69", 2);
inline const QByteArray crlf("\r\n", 2);
inline const QByteArray separator = QByteArray(40, '-') + crlf;

inline QByteArray text(const QString& line) {
    return toCodePage949(line);
}

} // namespace escpos_bytes
