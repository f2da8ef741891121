// The configuration file 환경설정.CFG from its bytes, as an operator or an installer wrote it.

#include "config_file.h"
#include "property_check.h"

#include <stdexcept>

namespace {

// Lines as an editor shows them: CR LF, CR and LF each end one, and an ending at the very end
// starts no new line. No code page 949 trail byte is below 0x41, so the raw bytes can be counted.
qsizetype lineCount(const QByteArray& bytes) {
    qsizetype lines = 0;
    bool lineOpen = false;
    for (qsizetype at = 0; at < bytes.size(); ++at) {
        if (bytes[at] == '\r' || bytes[at] == '\n') {
            ++lines;
            lineOpen = false;
            if (bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n') {
                ++at;
            }
        } else {
            lineOpen = true;
        }
    }
    return lines + (lineOpen ? 1 : 0);
}

bool holdsLineEnd(const QString& value) {
    return value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const QByteArray contents(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    const bool hasFiveLines = lineCount(contents) >= 5;
    ConfigFile config;
    try {
        config = parseConfigFile(contents, configFileName);
    } catch (const std::runtime_error&) {
        requireProperty(!hasFiveLines, "a file of five lines or more is read");
        return 0;
    }
    requireProperty(hasFiveLines, "a file of fewer than five lines is refused");
    for (const QString& value : {config.storeCode, config.posId, config.dbServer, config.dbKind,
                                 config.statusPage.value_or(QString())}) {
        requireProperty(!holdsLineEnd(value), "no value holds a line end");
    }
    return 0;
}
