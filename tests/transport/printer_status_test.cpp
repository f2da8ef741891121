#include "printer_status.h"

#include <gtest/gtest.h>

using namespace printer_status;

// Every byte a printer may send: status answers and printed answers never overlap, and flow
// control or stray text is neither.
TEST(PrinterStatusTest, AnswerFormsAreToldApartFromEachOtherAndFromOtherInput) {
    int statusForms = 0;
    for (int value = 0; value < 256; ++value) {
        const char byte = static_cast<char>(value);
        EXPECT_FALSE(isStatusAnswer(byte) && isPrintedAnswer(byte)) << value;
        statusForms += isStatusAnswer(byte) ? 1 : 0;
    }
    EXPECT_EQ(statusForms, 16);
    for (const char other : {'\x11', '\x13', '\r', '\n', 'A', '\x01', '\x0a'}) {
        EXPECT_FALSE(isStatusAnswer(other) || isPrintedAnswer(other)) << int(other);
    }
    for (const char printed : {'\x00', '\x03', '\x0c', '\x0f'}) {
        EXPECT_TRUE(isPrintedAnswer(printed));
    }
    EXPECT_EQ(statusRequest(Request::paperSensor), QByteArray("\x10\x04\x04", 3));
    EXPECT_EQ(printedRequest(), QByteArray("\x1d\x72\x01", 3));
}

TEST(PrinterStatusTest, StopReasonsComeFromTheLatestAnswers) {
    PrinterState state;
    state.apply(Request::printer, '\x12');
    state.apply(Request::offlineCause, '\x12');
    state.apply(Request::paperSensor, '\x1e');
    EXPECT_TRUE(state.stopReason().isEmpty()) << "paper near end still prints";
    EXPECT_TRUE(state.paperNearEnd);
    state.apply(Request::paperSensor, '\x72');
    EXPECT_EQ(state.stopReason(), QStringLiteral("용지가 없습니다"));
    state.apply(Request::paperSensor, '\x12');
    state.apply(Request::offlineCause, '\x16');
    EXPECT_EQ(state.stopReason(), QStringLiteral("덮개가 열려 있습니다"));
    state.apply(Request::offlineCause, '\x12');
    state.apply(Request::printer, '\x1a');
    EXPECT_EQ(state.stopReason(), QStringLiteral("프린터가 오프라인입니다"));
}
