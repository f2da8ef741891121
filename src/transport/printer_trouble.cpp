#include "printer_trouble.h"

#include <array>

QString troubleDescription(PrinterTrouble trouble) {
    switch (trouble) {
    case PrinterTrouble::paperNearEnd:
        return QStringLiteral("용지가 얼마 남지 않았습니다");
    case PrinterTrouble::paperOut:
        return QStringLiteral("용지가 없습니다");
    case PrinterTrouble::coverOpen:
        return QStringLiteral("덮개가 열려 있습니다");
    case PrinterTrouble::offline:
        return QStringLiteral("프린터가 오프라인입니다");
    case PrinterTrouble::notAnswering:
        return QStringLiteral("프린터가 응답하지 않습니다");
    case PrinterTrouble::notTaking:
        return QStringLiteral("프린터가 출력을 받지 않습니다");
    case PrinterTrouble::unavailable:
        break;
    }
    return QStringLiteral("프린터를 쓸 수 없습니다");
}

PrinterTrouble troubleNamedIn(const QString& description) {
    constexpr std::array named{PrinterTrouble::paperOut,  PrinterTrouble::coverOpen,
                               PrinterTrouble::offline,   PrinterTrouble::notAnswering,
                               PrinterTrouble::notTaking, PrinterTrouble::paperNearEnd};
    for (const PrinterTrouble trouble : named) {
        if (description.contains(troubleDescription(trouble))) {
            return trouble;
        }
    }
    return PrinterTrouble::unavailable;
}
