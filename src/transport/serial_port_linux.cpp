#include "serial_port_platform.h"

#include <sys/stat.h>
#include <termios.h>

namespace serial_platform {

std::string portLocation(int portNumber, const std::string& programFolder) {
    std::string configured = programFolder + "/ports/COM" + std::to_string(portNumber);
    struct stat found {};
    if (stat(configured.c_str(), &found) == 0) {
        return configured;
    }
    return "/dev/ttyS" + std::to_string(portNumber - 1);
}

void drainOutput(std::intptr_t handle) {
    tcdrain(static_cast<int>(handle));
}

} // namespace serial_platform
