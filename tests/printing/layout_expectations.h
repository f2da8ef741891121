#pragma once

#include "layout_steps.h"
#include "row.h"
#include "serial_layout.h"
#include "sheet_settings.h"

#include <QMap>
#include <QSqlField>
#include <QSqlRecord>
#include <functional>
#include <gtest/gtest.h>

// Building blocks of the expected tickets, spelled out from the printer rules: ESC a n
// justification, GS ! n size, ESC i cut, CR LF line ends.
namespace layout_expectations {

inline const QString alignLeft = QStringLiteral("\x1b\x61\x30");
inline const QString alignCenter = QStringLiteral("\x1b\x61\x31");
inline const QString sizeNormal = QString(QLatin1String("\x1d\x21\x00", 3));
inline const QString doubleHeight = QStringLiteral("\x1d\x21\x01");
inline const QString doubleWidth = QStringLiteral("\x1d\x21\x10");
inline const QString doubleSize = QStringLiteral("\x1d\x21\x11");
inline const QString cut = QStringLiteral("\x1b\x69");
inline const QString crlf = QStringLiteral("\r\n");
inline const QString stamp = QStringLiteral("주문일시 : 2026-12-09 09:05:07");

inline LayoutStep w(const QString& text) {
    return LayoutStep::write(text);
}

inline LayoutStep pause(int ms) {
    return LayoutStep::wait(ms);
}

inline LayoutStep events() {
    return LayoutStep::processEvents();
}

inline QString separator(int margin) {
    return QString(margin, ' ') + QString(40, '-') + crlf;
}

inline SheetSettings settings(std::function<void(SheetSettings&)> change = {}) {
    SheetSettings sheet;
    sheet.commands = {alignLeft,   alignCenter, sizeNormal,  doubleHeight,
                      doubleWidth, doubleSize,  doubleWidth, cut};
    sheet.leftMargin = 2;
    sheet.receiptDelayMs = 30;
    if (change) {
        change(sheet);
    }
    return sheet;
}

inline Row job(const QMap<QString, QVariant>& changed) {
    QMap<QString, QVariant> columns = {
        {"출력물종류", "주문서"}, {"주문번호", 57},     {"진동벨번호", QVariant()},
        {"테이블명", ""},         {"코너명", ""},       {"결제여부", "완료"},
        {"미결금액", 0},          {"신규추가여부", ""}, {"주문자명", QVariant()},
        {"프린트내용", ""}};
    for (auto it = changed.begin(); it != changed.end(); ++it) {
        columns[it.key()] = it.value();
    }
    QSqlRecord record;
    for (auto it = columns.begin(); it != columns.end(); ++it) {
        QSqlField field(it.key(), it.value().metaType());
        field.setValue(it.value());
        record.append(field);
    }
    return Row(record);
}

inline JobExtras extras(const QString& bottomMargin = crlf + crlf, qint16 guests = 0) {
    return JobExtras{bottomMargin, guests, QDateTime(QDate(2026, 12, 9), QTime(9, 5, 7))};
}

inline void expectSteps(const LayoutSteps& actual, const LayoutSteps& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].kind, expected[i].kind) << "step " << i;
        EXPECT_EQ(actual[i].text, expected[i].text) << "step " << i;
        EXPECT_EQ(actual[i].waitMs, expected[i].waitMs) << "step " << i;
    }
}

} // namespace layout_expectations
