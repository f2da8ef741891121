#include "serial_port_error.h"
#include "serial_port_platform.h"

#include <asm/termbits.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

// termios2 (not <termios.h>, whose struct clashes with it) so that rates such as 14400 or
// 256000, which have no B constant, are set like any other.
namespace serial_platform {

namespace {

QString systemText(const std::string& location) {
    return QStringLiteral("%1: %2").arg(QString::fromStdString(location),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

tcflag_t characterSize(int dataBits) {
    switch (dataBits) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}

tcflag_t parityFlags(SerialSettings::Parity parity) {
    switch (parity) {
    case SerialSettings::Parity::Even:
        return PARENB;
    case SerialSettings::Parity::Odd:
        return PARENB | PARODD;
    case SerialSettings::Parity::Mark:
        return PARENB | PARODD | CMSPAR;
    case SerialSettings::Parity::Space:
        return PARENB | CMSPAR;
    case SerialSettings::Parity::None:
        break;
    }
    return 0;
}

// Raw bytes both ways; the printer's XOFF holds the output until its XON, and the kernel keeps
// both out of what is read. 1.5 stop bits have no setting here and are sent as 2.
void applySettings(int port, const SerialSettings& settings, const std::string& location) {
    termios2 line{};
    if (ioctl(port, TCGETS2, &line) != 0) {
        throw SerialPortError(SerialPortError::deviceUnavailable, systemText(location));
    }
    line.c_iflag = IXON;
    line.c_cc[VSTART] = 0x11;
    line.c_cc[VSTOP] = 0x13;
    line.c_oflag = 0;
    line.c_lflag = 0;
    line.c_cflag = CLOCAL | CREAD | BOTHER | characterSize(settings.dataBits) |
                   parityFlags(settings.parity) |
                   (settings.stopBits == SerialSettings::StopBits::One ? 0 : CSTOPB);
    line.c_ispeed = static_cast<speed_t>(settings.baudRate);
    line.c_ospeed = static_cast<speed_t>(settings.baudRate);
    if (ioctl(port, TCSETS2, &line) != 0) {
        throw SerialPortError(SerialPortError::invalidSettings, systemText(location));
    }
}

std::int32_t openErrorNumber(int error) {
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
        return SerialPortError::invalidPortNumber;
    case EBUSY:
    case EACCES:
    case EPERM:
        return SerialPortError::portAlreadyOpen;
    default:
        return SerialPortError::deviceUnavailable;
    }
}

// What a read or write without waiting moved; nothing when the port would have had to wait.
std::int64_t transferred(ssize_t result) {
    if (result >= 0) {
        return result;
    }
    if (errno == EAGAIN || errno == EINTR) {
        return 0;
    }
    throw SerialPortError(SerialPortError::deviceUnavailable,
                          QString::fromLocal8Bit(std::strerror(errno)));
}

void waitFor(Handle port, short events, int timeoutMs) {
    pollfd waiting{static_cast<int>(port), events, 0};
    poll(&waiting, 1, timeoutMs);
}

} // namespace

std::string portLocation(int portNumber, const std::string& programFolder) {
    const std::string ports = programFolder + "/ports";
    struct stat found {};
    if (stat(ports.c_str(), &found) == 0 && S_ISDIR(found.st_mode)) {
        return ports + "/COM" + std::to_string(portNumber);
    }
    return "/dev/ttyS" + std::to_string(portNumber - 1);
}

Handle openPort(const std::string& location, const SerialSettings& settings) {
    const int port = open(location.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (port < 0) {
        throw SerialPortError(openErrorNumber(errno), systemText(location));
    }
    if (flock(port, LOCK_EX | LOCK_NB) != 0) {
        close(port);
        throw SerialPortError(SerialPortError::portAlreadyOpen, systemText(location));
    }
    try {
        applySettings(port, settings, location);
    } catch (...) {
        close(port);
        throw;
    }
    return port;
}

std::int64_t writeSome(Handle port, const char* bytes, std::int64_t count) {
    return transferred(write(static_cast<int>(port), bytes, static_cast<size_t>(count)));
}

void waitWritable(Handle port, int timeoutMs) {
    waitFor(port, POLLOUT, timeoutMs);
}

std::int64_t unsentBytes(Handle port) {
    int queued = 0;
    if (ioctl(static_cast<int>(port), TIOCOUTQ, &queued) != 0) {
        throw SerialPortError(SerialPortError::deviceUnavailable,
                              QString::fromLocal8Bit(std::strerror(errno)));
    }
    return queued;
}

std::int64_t readSome(Handle port, char* bytes, std::int64_t capacity) {
    return transferred(read(static_cast<int>(port), bytes, static_cast<size_t>(capacity)));
}

void waitReadable(Handle port, int timeoutMs) {
    waitFor(port, POLLIN, timeoutMs);
}

void discardInput(Handle port) {
    ioctl(static_cast<int>(port), TCFLSH, TCIFLUSH);
}

std::optional<bool> readyLine(Handle port) {
    int lines = 0;
    if (ioctl(static_cast<int>(port), TIOCMGET, &lines) != 0) {
        return std::nullopt;
    }
    return (lines & (TIOCM_CTS | TIOCM_DSR)) != 0;
}

void discardOutput(Handle port) {
    ioctl(static_cast<int>(port), TCFLSH, TCOFLUSH);
}

void closePort(Handle port) {
    close(static_cast<int>(port));
}

} // namespace serial_platform
