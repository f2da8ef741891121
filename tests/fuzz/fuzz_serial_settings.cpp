// The serial line settings text of the settings row and of each job ("9600,N,8,1").

#include "fuzz_input.h"
#include "property_check.h"
#include "serial_port_error.h"
#include "serial_settings.h"

#include <algorithm>
#include <array>

namespace {

// The rates of the printers' DIP switches.
constexpr std::array<qint32, 15> standardBaudRates{110,   300,   600,    1200,   2400,
                                                   4800,  9600,  14400,  19200,  38400,
                                                   56000, 57600, 115200, 128000, 256000};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const QString text = inputText(bytes, size);
    SerialSettings settings;
    try {
        settings = parseSerialSettings(text);
    } catch (const SerialPortError& error) {
        requireProperty(error.number() == SerialPortError::invalidSettings,
                        "a settings text is refused as invalid settings");
        return 0;
    }
    requireProperty(std::find(standardBaudRates.begin(), standardBaudRates.end(),
                              settings.baudRate) != standardBaudRates.end(),
                    "the baud rate is a standard one");
    requireProperty(settings.dataBits >= 5 && settings.dataBits <= 8, "5 to 8 data bits");
    return 0;
}
