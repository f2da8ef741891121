#include "other_options.h"

#include "key_value_line.h"
#include "value_conversion.h"

#include <QStringList>
#include <algorithm>

namespace {

enum class SlotType { YesNo, Int16, Int32, Double, Text };

bool isLineIn(int line, std::initializer_list<int> lines) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

SlotType typeOfLine(int line) {
    if (isLineIn(line, {1, 5, 13, 17, 21, 33, 34, 35, 74})) {
        return SlotType::YesNo;
    }
    if (isLineIn(line, {12, 16, 20})) {
        return SlotType::Int16;
    }
    if (isLineIn(line, {14, 18, 22, 36, 57})) {
        return SlotType::Int32;
    }
    if (isLineIn(line, {56, 66, 67})) {
        return SlotType::Double;
    }
    return SlotType::Text;
}

QVariant converted(const QString& value, SlotType type, const QString& what) {
    switch (type) {
    case SlotType::YesNo:
        return toYesNo(value, what);
    case SlotType::Int16:
        return toInt16(value, what);
    case SlotType::Int32:
        return toInt32(value, what);
    case SlotType::Double:
        return toDouble(value, what);
    case SlotType::Text:
        break;
    }
    return value;
}

} // namespace

std::optional<QString> OtherOptions::load(const QString& columnText) {
    const QStringList lines = columnText.split(QStringLiteral("\r\n"));
    if (lines.size() < 2) {
        return std::nullopt;
    }
    const int available = std::min<int>(static_cast<int>(lines.size()), slotCount);
    for (int index = 0; index < available; ++index) {
        const int line = index + 1;
        const QString what = QStringLiteral("기타옵션 %1번째 줄").arg(line);
        try {
            slots_.at(static_cast<std::size_t>(index)) =
                converted(valueOfLine(lines.at(index)), typeOfLine(line), what);
        } catch (const ConversionError& error) {
            if (error.kind() == ConversionError::Kind::Overflow) {
                return error.description();
            }
        }
    }
    return std::nullopt;
}
