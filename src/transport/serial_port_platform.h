#pragma once

#include "serial_settings.h"

#include <cstdint>
#include <optional>
#include <string>

// What differs between platforms about the terminal's serial printer port. Every function
// that fails throws SerialPortError.
namespace serial_platform {

using Handle = std::intptr_t;

// Where port COMn is: on Linux <program folder>/ports/COMn when the program folder has a ports
// folder (a link there whose device is gone, or no link at all, is a missing port: an unplugged
// adapter must never send the ticket out of the board's own port), else /dev/ttyS<n-1>; on
// Windows COMn itself.
std::string portLocation(int portNumber, const std::string& programFolder);

// Opens the port for reading and writing without blocking and sets its line, honouring the
// printer's XON/XOFF. 8002 when there is no such port, 8005 when another program holds it.
Handle openPort(const std::string& location, const SerialSettings& settings);

// Hands the port as much of the bytes as it takes now, without waiting; returns how many.
// 8010 when the device failed or went away.
std::int64_t writeSome(Handle port, const char* bytes, std::int64_t count);

// Waits at most the given time for the port to take more output.
void waitWritable(Handle port, int timeoutMs);

// Bytes the port took that have not yet left the line.
std::int64_t unsentBytes(Handle port);

// Takes what the printer sent, as much as fits, without waiting; returns how many.
std::int64_t readSome(Handle port, char* bytes, std::int64_t capacity);

// Waits at most the given time for input from the printer.
void waitReadable(Handle port, int timeoutMs);

void discardInput(Handle port);

// Whether the printer raises its ready line (CTS or DSR); nothing when the port has no modem
// lines, as pseudo-terminals.
std::optional<bool> readyLine(Handle port);

// Closes the port; what it still holds goes out first.
void closePort(Handle port);

// Drops what the port still holds, so that closing does not wait for a printer that takes
// nothing.
void discardOutput(Handle port);

} // namespace serial_platform
