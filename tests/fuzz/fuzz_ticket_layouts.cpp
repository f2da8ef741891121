// Both ticket layouts and the code page 949 conversion on the way to the printer, from a job
// row and sheet settings as a store's database could hold them.

#include "codepage949.h"
#include "job_kind.h"
#include "job_rows.h"
#include "network_layout.h"
#include "printer_commands.h"
#include "property_check.h"
#include "serial_layout.h"
#include "sheet_parts.h"
#include "sheet_settings.h"
#include "value_conversion.h"

#include <array>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

// Words the layouts and printer commands test for; the fuzzer could not guess them in UTF-16.
const std::array<QString, 12> domainWords{QString(),
                                          job_kind::orderSheet,
                                          job_kind::kitchenMessage,
                                          job_kind::ticket,
                                          job_kind::cashDrawer,
                                          QStringLiteral("미결"),
                                          QStringLiteral("배달"),
                                          QStringLiteral("└"),
                                          QStringLiteral("REXOD"),
                                          QStringLiteral("세로확대"),
                                          QStringLiteral("가로확대"),
                                          QStringLiteral("가로세로확대")};

// One byte per character, so that the characters that matter are common: ASCII and control
// characters as they are, then unpaired surrogate halves, then Hangul syllables.
QChar characterOf(unsigned char byte) {
    if (byte < 0x80) {
        return QChar(byte);
    }
    if (byte < 0xA0) {
        return QChar(0xD800 + (byte - 0x80) * 0x20);
    }
    if (byte < 0xC0) {
        return QChar(0xDC00 + (byte - 0xA0) * 0x20);
    }
    return QChar(0xAC00 + (byte - 0xC0) * 0x80);
}

QString fuzzedText(FuzzedDataProvider& data) {
    QString text = data.PickValueInArray(domainWords);
    for (const char byte : data.ConsumeRandomLengthString(256)) {
        text += characterOf(static_cast<unsigned char>(byte));
    }
    return text;
}

// A column as the database driver hands it over: null, an integer, a number of any size, or
// text.
QVariant fuzzedValue(FuzzedDataProvider& data) {
    switch (data.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return QVariant(QMetaType::fromType<QString>());
    case 1:
        return data.ConsumeIntegral<qint64>();
    case 2:
        return data.ConsumeFloatingPoint<double>();
    default:
        return fuzzedText(data);
    }
}

void blankControlCharacters(QVariant& value) {
    if (value.metaType() != QMetaType::fromType<QString>() || value.isNull()) {
        return;
    }
    QString text = value.toString();
    for (QChar& character : text) {
        if (character.unicode() < 0x20 || character.unicode() == 0x7F) {
            character = QLatin1Char(' ');
        }
    }
    value = text;
}

// The columns the layouts read, in the order the fuzzer fills them.
struct FuzzedJob {
    QVariant kind;
    QVariant orderNumber;
    QVariant payment;
    QVariant unpaidAmount;
    QVariant body; // carries the terminal's own printer commands
    // The short fields, typed by strangers (delivery apps, web forms): the layouts must not pass
    // their control characters on to the printer.
    QVariant customer;
    QVariant corner;
    QVariant table;
    QVariant pager;
    QVariant newOrAdded;

    Row row() const {
        return rowOf({{QStringLiteral("출력물종류"), kind},
                      {QStringLiteral("주문번호"), orderNumber},
                      {QStringLiteral("결제여부"), payment},
                      {QStringLiteral("미결금액"), unpaidAmount},
                      {QStringLiteral("프린트내용"), body},
                      {QStringLiteral("주문자명"), customer},
                      {QStringLiteral("코너명"), corner},
                      {QStringLiteral("테이블명"), table},
                      {QStringLiteral("진동벨번호"), pager},
                      {QStringLiteral("신규추가여부"), newOrAdded}});
    }

    FuzzedJob withBlankedShortFields() const {
        FuzzedJob blanked = *this;
        for (QVariant* field : {&blanked.customer, &blanked.corner, &blanked.table, &blanked.pager,
                                &blanked.newOrAdded}) {
            blankControlCharacters(*field);
        }
        return blanked;
    }
};

FuzzedJob fuzzedJob(FuzzedDataProvider& data) {
    // A braced list is evaluated from left to right, so the input decides the columns in order.
    return FuzzedJob{fuzzedValue(data), fuzzedValue(data), fuzzedValue(data), fuzzedValue(data),
                     fuzzedValue(data), fuzzedValue(data), fuzzedValue(data), fuzzedValue(data),
                     fuzzedValue(data), fuzzedValue(data)};
}

SheetSettings fuzzedSheetSettings(FuzzedDataProvider& data) {
    SheetSettings sheet;
    const QVariant printerKind = fuzzedValue(data);
    const QVariant kitchenSize = fuzzedValue(data);
    preparePrinterCommands(sheet.commands,
                           rowOf({{QStringLiteral("프린터종류"), printerKind},
                                  {QStringLiteral("주방프린터글자크기"), kitchenSize}}));
    sheet.foodCourtHeader = data.ConsumeBool();
    sheet.headline = data.ConsumeBool();
    sheet.postPaid = data.ConsumeBool();
    sheet.autoCut = data.ConsumeBool();
    sheet.option72 = data.ConsumeBool();
    sheet.receiptDelayMs = data.ConsumeIntegral<int>();
    sheet.leftMargin = fuzzedValue(data);
    return sheet;
}

JobExtras fuzzedExtras(FuzzedDataProvider& data) {
    JobExtras extras;
    extras.bottomMargin = sheet_parts::crlf.repeated(data.ConsumeIntegralInRange(0, 8));
    extras.guestCount = data.ConsumeIntegral<qint16>();
    extras.printedAt = QDateTime::fromMSecsSinceEpoch(data.ConsumeIntegral<qint64>(), Qt::UTC);
    return extras;
}

// The text the layouts were given, in UTF-16 code units.
qsizetype inputSize(const Row& job, const JobExtras& extras) {
    qsizetype size = extras.bottomMargin.size();
    for (int column = 0; column < job.record().count(); ++column) {
        size += job.text(job.record().fieldName(column)).size();
    }
    return size;
}

QByteArray printedBytes(const LayoutSteps& steps) {
    QByteArray bytes;
    for (const LayoutStep& step : steps) {
        if (step.kind == LayoutStep::Kind::Write) {
            bytes += toCodePage949(step.text);
        }
    }
    return bytes;
}

// A body line break costs at most a 48-blank margin and a few commands; every other character
// is printed at most twice in at most two bytes. The headers add a fixed amount.
constexpr qsizetype bytesPerInputCharacter = 40;
constexpr qsizetype fixedBytes = 4096;

void checkLayout(LayoutSteps (*layout)(const Row&, const SheetSettings&, const JobExtras&),
                 const FuzzedJob& fuzzed, const SheetSettings& sheet, const JobExtras& extras) {
    const Row job = fuzzed.row();
    QByteArray printed;
    try {
        printed = printedBytes(layout(job, sheet, extras));
    } catch (const ConversionError&) {
        return; // the job's own bad data, which the job run reports
    }
    requireProperty(printed.size() <= bytesPerInputCharacter * inputSize(job, extras) + fixedBytes,
                    "the ticket grows at most linearly with the job's text");
    requireProperty(printed ==
                        printedBytes(layout(fuzzed.withBlankedShortFields().row(), sheet, extras)),
                    "a short field prints its control characters as blanks");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const FuzzedJob job = fuzzedJob(data);
    const SheetSettings sheet = fuzzedSheetSettings(data);
    const JobExtras extras = fuzzedExtras(data);
    checkLayout(serialLayout, job, sheet, extras);
    checkLayout(networkLayout, job, sheet, extras);
    return 0;
}
