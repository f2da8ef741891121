// The option lines of the settings column 기타옵션 and the typed slots they fill.

#include "fuzz_input.h"
#include "key_value_line.h"
#include "other_options.h"
#include "property_check.h"
#include "value_conversion.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

enum class SlotType { YesNo, Int16, Int32, Double, Text };

// The type of each option line, by line number, as the POS defines them.
SlotType typeOfLine(int line) {
    const auto isOneOf = [line](std::initializer_list<int> lines) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    if (isOneOf({1, 5, 13, 17, 21, 33, 34, 35, 74})) {
        return SlotType::YesNo;
    }
    if (isOneOf({12, 16, 20})) {
        return SlotType::Int16;
    }
    if (isOneOf({14, 18, 22, 36, 57})) {
        return SlotType::Int32;
    }
    if (isOneOf({56, 66, 67})) {
        return SlotType::Double;
    }
    return SlotType::Text;
}

// A slot value no option line can give: the lines are split at CR LF.
const QString untouched = QStringLiteral("\r\n");

template <typename Integer> bool fitsIn(double number) {
    const double rounded = std::nearbyint(number);
    return rounded >= std::numeric_limits<Integer>::min() &&
           rounded <= std::numeric_limits<Integer>::max();
}

// Whether the value is a number its integer slot cannot hold, which stops the loading.
bool overflows(const QString& value, SlotType type) {
    const std::optional<double> number = numberOf(value);
    if (!number) {
        return false;
    }
    switch (type) {
    case SlotType::Int16:
        return !fitsIn<qint16>(*number);
    case SlotType::Int32:
        return !fitsIn<qint32>(*number);
    default:
        return false;
    }
}

struct ExpectedLoad {
    int filledLines = 0; // lines from the first that fill their slots
    bool overflow = false;
};

// A single line is no option list; otherwise the lines fill their slots until an overflow or
// the last slot.
ExpectedLoad expectedLoad(const QStringList& lines) {
    if (lines.size() < 2) {
        return {};
    }
    const int available = std::min<int>(static_cast<int>(lines.size()), OtherOptions::slotCount);
    for (int index = 0; index < available; ++index) {
        if (overflows(valueOfLine(lines.at(index)), typeOfLine(index + 1))) {
            return {index, true};
        }
    }
    return {available, false};
}

// A filled slot holds its line's value in the slot's type; a number that reads as the type is
// always taken. Whole numbers are held as int, as QVariant has no 16-bit integer constructor.
void checkFilledSlot(const QVariant& slot, const QString& value, SlotType type) {
    const std::optional<double> number = numberOf(value);
    const bool taken = slot != QVariant(untouched);
    switch (type) {
    case SlotType::Text:
        requireProperty(slot == QVariant(value), "a text slot holds its line's value");
        break;
    case SlotType::YesNo:
        requireProperty(!taken || slot.metaType() == QMetaType::fromType<bool>(),
                        "a yes/no slot holds a bool");
        break;
    case SlotType::Int16:
    case SlotType::Int32:
        requireProperty(!number || slot == QVariant(static_cast<int>(std::nearbyint(*number))),
                        "an integer slot holds its line's number, rounded");
        requireProperty(!taken || slot.metaType() == QMetaType::fromType<int>(),
                        "an integer slot holds an int");
        break;
    case SlotType::Double:
        requireProperty(!number || slot == QVariant(*number), "a number slot holds its number");
        requireProperty(!taken || slot.metaType() == QMetaType::fromType<double>(),
                        "a number slot holds a double");
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const QString text = inputText(bytes, size);
    OtherOptions options;
    for (int index = 0; index < OtherOptions::slotCount; ++index) {
        options.setText(index, untouched);
    }
    const std::optional<QString> refusal = options.load(text);

    const QStringList lines = text.split(QStringLiteral("\r\n"));
    const ExpectedLoad expected = expectedLoad(lines);
    requireProperty(refusal.has_value() == expected.overflow, "only an overflow stops the loading");
    requireProperty(
        !refusal ||
            refusal->contains(QStringLiteral("기타옵션 %1번째 줄").arg(expected.filledLines + 1)),
        "the refusal names the overflowing line");
    for (int index = 0; index < OtherOptions::slotCount; ++index) {
        if (index < expected.filledLines) {
            checkFilledSlot(options.slot(index), valueOfLine(lines.at(index)),
                            typeOfLine(index + 1));
        } else {
            requireProperty(options.slot(index) == QVariant(untouched),
                            "slots from an overflow on, and beyond the lines, are unchanged");
        }
    }
    return 0;
}
