#pragma once

#include <cstdint>
#include <string>

// What differs between platforms about the terminal's serial printer port.
namespace serial_platform {

// Where port COMn is: on Linux the device that <program folder>/ports/COMn points to when that
// link or device node exists, else /dev/ttyS<n-1>; on Windows COMn itself.
std::string portLocation(int portNumber, const std::string& programFolder);

// Blocks until everything written to the open port has left the line.
void drainOutput(std::intptr_t handle);

} // namespace serial_platform
