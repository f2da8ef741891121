// The drawer-kick code of the settings row (돈통열기코드), three decimal digits per byte.

#include "cash_drawer.h"
#include "fuzz_input.h"
#include "property_check.h"

#include <algorithm>
#include <stdexcept>

namespace {

bool isDigits(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= '0' && c <= '9'; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const QString code = inputText(bytes, size);
    QByteArray kick;
    try {
        kick = drawerKickBytes(code);
    } catch (const std::invalid_argument&) {
        return 0;
    }
    requireProperty(kick.size() == (code.size() + 2) / 3, "one byte per group of three");
    for (qsizetype group = 0; group < kick.size(); ++group) {
        const QString digits = code.mid(group * 3, 3);
        requireProperty(!isDigits(digits) ||
                            static_cast<unsigned char>(kick[group]) == digits.toUInt(),
                        "a group of digits gives its decimal value");
    }
    return 0;
}
