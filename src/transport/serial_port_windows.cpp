#include "serial_port_error.h"
#include "serial_port_platform.h"

#include <algorithm>
#include <windows.h>

// The port through the Windows communications API, opened for synchronous writes. A short
// write time-out makes each WriteFile hand over what the port takes at once, so that a printer
// that stops taking bytes is noticed by the caller's stall limit instead of blocking the program.
namespace serial_platform {

namespace {

constexpr DWORD writeTimeoutMs = 10;
constexpr int inputPollMs = 5;

QString systemText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString described = length > 0 ? QString::fromWCharArray(text, static_cast<int>(length))
                                   : QStringLiteral("error %1").arg(error);
    LocalFree(text);
    return described.trimmed();
}

QString systemText(const std::string& location, DWORD error) {
    return QStringLiteral("%1: %2").arg(QString::fromStdString(location), systemText(error));
}

BYTE parityOf(SerialSettings::Parity parity) {
    switch (parity) {
    case SerialSettings::Parity::Even:
        return EVENPARITY;
    case SerialSettings::Parity::Odd:
        return ODDPARITY;
    case SerialSettings::Parity::Mark:
        return MARKPARITY;
    case SerialSettings::Parity::Space:
        return SPACEPARITY;
    case SerialSettings::Parity::None:
        break;
    }
    return NOPARITY;
}

BYTE stopBitsOf(SerialSettings::StopBits stopBits) {
    switch (stopBits) {
    case SerialSettings::StopBits::OneAndHalf:
        return ONE5STOPBITS;
    case SerialSettings::StopBits::Two:
        return TWOSTOPBITS;
    case SerialSettings::StopBits::One:
        break;
    }
    return ONESTOPBIT;
}

// Binary both ways; the printer's XOFF holds the output until its XON. The ready lines are
// watched by the caller, since a port whose lines never rise must still print. DTR and RTS are
// raised, as printers expect of an open port.
void applySettings(HANDLE port, const SerialSettings& settings, const std::string& location) {
    DCB line{};
    line.DCBlength = sizeof line;
    if (!GetCommState(port, &line)) {
        throw SerialPortError(SerialPortError::deviceUnavailable,
                              systemText(location, GetLastError()));
    }
    line.BaudRate = static_cast<DWORD>(settings.baudRate);
    line.ByteSize = static_cast<BYTE>(settings.dataBits);
    line.Parity = parityOf(settings.parity);
    line.StopBits = stopBitsOf(settings.stopBits);
    line.fBinary = TRUE;
    line.fParity = settings.parity != SerialSettings::Parity::None;
    line.fOutxCtsFlow = FALSE;
    line.fOutxDsrFlow = FALSE;
    line.fDtrControl = DTR_CONTROL_ENABLE;
    line.fRtsControl = RTS_CONTROL_ENABLE;
    line.fDsrSensitivity = FALSE;
    line.fOutX = TRUE;
    line.XonChar = 0x11;
    line.XoffChar = 0x13;
    line.fInX = FALSE;
    line.fAbortOnError = FALSE;
    if (!SetCommState(port, &line)) {
        throw SerialPortError(SerialPortError::invalidSettings,
                              systemText(location, GetLastError()));
    }
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutConstant = writeTimeoutMs;
    if (!SetCommTimeouts(port, &timeouts)) {
        throw SerialPortError(SerialPortError::deviceUnavailable,
                              systemText(location, GetLastError()));
    }
}

std::int32_t openErrorNumber(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_UNIT:
    case ERROR_INVALID_NAME:
        return SerialPortError::invalidPortNumber;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_BUSY:
        return SerialPortError::portAlreadyOpen;
    default:
        return SerialPortError::deviceUnavailable;
    }
}

// The platform-neutral handle carries the Windows handle's value.
HANDLE handleOf(Handle port) {
    return reinterpret_cast<HANDLE>(port); // NOLINT(performance-no-int-to-ptr)
}

} // namespace

std::string portLocation(int portNumber, const std::string& /*programFolder*/) {
    return "\\\\.\\COM" + std::to_string(portNumber);
}

// Opened without sharing: another program holding the port is "in use". Read access too, as
// serial programs open ports on Windows; wine refuses a write-only port its line settings.
Handle openPort(const std::string& location, const SerialSettings& settings) {
    const std::wstring name(location.begin(), location.end());
    const HANDLE port = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        throw SerialPortError(openErrorNumber(error), systemText(location, error));
    }
    try {
        applySettings(port, settings, location);
    } catch (...) {
        CloseHandle(port);
        throw;
    }
    return reinterpret_cast<Handle>(port);
}

std::int64_t writeSome(Handle port, const char* bytes, std::int64_t count) {
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(std::min<std::int64_t>(count, MAXDWORD));
    if (WriteFile(handleOf(port), bytes, size, &written, nullptr)) {
        return written;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_SEM_TIMEOUT || error == ERROR_TIMEOUT || error == ERROR_COUNTER_TIMEOUT) {
        return written;
    }
    throw SerialPortError(SerialPortError::deviceUnavailable, systemText(error));
}

// WriteFile itself waited for the port; this only spaces out the retries of a stalled port.
void waitWritable(Handle /*port*/, int timeoutMs) {
    Sleep(static_cast<DWORD>(timeoutMs));
}

std::int64_t unsentBytes(Handle port) {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(handleOf(port), &errors, &status)) {
        throw SerialPortError(SerialPortError::deviceUnavailable, systemText(GetLastError()));
    }
    return status.cbOutQue;
}

// The read time-outs (an interval of MAXDWORD, no totals) make ReadFile return at once with
// what has come.
std::int64_t readSome(Handle port, char* bytes, std::int64_t capacity) {
    DWORD count = 0;
    const DWORD size = static_cast<DWORD>(std::min<std::int64_t>(capacity, MAXDWORD));
    if (!ReadFile(handleOf(port), bytes, size, &count, nullptr)) {
        throw SerialPortError(SerialPortError::deviceUnavailable, systemText(GetLastError()));
    }
    return count;
}

void waitReadable(Handle port, int timeoutMs) {
    DWORD errors = 0;
    COMSTAT status{};
    if (ClearCommError(handleOf(port), &errors, &status) && status.cbInQue == 0) {
        Sleep(static_cast<DWORD>(std::min(timeoutMs, inputPollMs)));
    }
}

void discardInput(Handle port) {
    PurgeComm(handleOf(port), PURGE_RXABORT | PURGE_RXCLEAR);
}

std::optional<bool> readyLine(Handle port) {
    DWORD lines = 0;
    if (!GetCommModemStatus(handleOf(port), &lines)) {
        return std::nullopt;
    }
    return (lines & (MS_CTS_ON | MS_DSR_ON)) != 0;
}

void discardOutput(Handle port) {
    PurgeComm(handleOf(port), PURGE_TXABORT | PURGE_TXCLEAR);
}

void closePort(Handle port) {
    CloseHandle(handleOf(port));
}

} // namespace serial_platform
