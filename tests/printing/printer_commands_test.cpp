#include "job_rows.h"
#include "printer_commands.h"

#include <gtest/gtest.h>

namespace {

PrinterCommands preparedFor(const QString& printerType, const QString& kitchenSize) {
    PrinterCommands commands;
    preparePrinterCommands(
        commands, rowOf({{"프린터종류", printerType}, {"주방프린터글자크기", kitchenSize}}));
    return commands;
}

} // namespace

TEST(PrinterCommands, FixedCommandsAreTheEscPosBytes) {
    const PrinterCommands commands = preparedFor("TM-T83", "세로확대");
    EXPECT_EQ(commands.alignLeft, QLatin1String("\x1b\x61\x30"));
    EXPECT_EQ(commands.alignCenter, QLatin1String("\x1b\x61\x31"));
    EXPECT_EQ(commands.sizeNormal, QString(QLatin1String("\x1d\x21\x00", 3)));
    EXPECT_EQ(commands.doubleHeight, QLatin1String("\x1d\x21\x01"));
    EXPECT_EQ(commands.doubleWidth, QLatin1String("\x1d\x21\x10"));
    EXPECT_EQ(commands.doubleSize, QLatin1String("\x1d\x21\x11"));
    EXPECT_EQ(commands.cut, QLatin1String("\x1b\x69"));
}

TEST(PrinterCommands, OnlyRexodInCapitalsCutsWithEscM) {
    EXPECT_EQ(preparedFor("REXOD", "").cut, QLatin1String("\x1b\x6d"));
    EXPECT_EQ(preparedFor("rexod", "").cut, QLatin1String("\x1b\x69"));
    EXPECT_EQ(preparedFor("IBM-4610", "").cut, QLatin1String("\x1b\x69"));
}

TEST(PrinterCommands, KitchenSizeFollowsTheSettingWithDoubleHeightByDefault) {
    const QList<QPair<QString, QString>> cases = {{"세로확대", "\x1d\x21\x01"},
                                                  {"세로확대 단가표시", "\x1d\x21\x01"},
                                                  {"가로확대", "\x1d\x21\x10"},
                                                  {"가로확대 단가표시", "\x1d\x21\x10"},
                                                  {"가로세로확대", "\x1d\x21\x11"},
                                                  {"가로세로확대 단가표시", "\x1d\x21\x11"},
                                                  {"", "\x1d\x21\x01"},
                                                  {"아주 크게", "\x1d\x21\x01"}};
    for (const auto& [setting, expected] : cases) {
        EXPECT_EQ(preparedFor("TM-T83", setting).kitchenSize, expected) << setting.toStdString();
    }
}

TEST(PrinterCommands, AMissingColumnKeepsWhatWasPreparedBefore) {
    PrinterCommands commands = preparedFor("REXOD", "가로확대");
    preparePrinterCommands(commands, rowOf({{"프린터종류", "TM-T83"}}));
    EXPECT_EQ(commands.cut, QLatin1String("\x1b\x69"));
    EXPECT_EQ(commands.kitchenSize, QLatin1String("\x1d\x21\x10"));
}
