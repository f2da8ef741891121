#include "layout_expectations.h"
#include "serial_layout.h"
#include "value_conversion.h"

#include <gtest/gtest.h>

// Expected tickets are spelled out from the printer rules: ESC a n justification, GS ! n size,
// ESC i cut, CR LF line ends; each LayoutStep is one write to the port or one pause.
using namespace layout_expectations;

TEST(SerialLayout, FoodCourtOrderSheetWithEveryHeaderLine) {
    const Row order = job({{"주문번호", 0},
                           {"진동벨번호", "15"},
                           {"테이블명", "12"},
                           {"코너명", "  분식코너 "},
                           {"결제여부", "미결"},
                           {"미결금액", 12500},
                           {"주문자명", "김철수"},
                           {"프린트내용", "김밥 2\r\n라면 1\r\n합계 3"}});
    const SheetSettings sheet = settings([](SheetSettings& s) {
        s.foodCourtHeader = true;
        s.headline = true; // the food-court header wins
        s.autoCut = true;
    });
    expectSteps(serialLayout(order, sheet, extras()),
                {w(alignCenter), w(doubleSize), w(crlf + crlf), w(alignCenter),
                 w("주문서" + crlf + crlf), w("호출번호 : 15" + crlf + crlf), w(alignCenter),
                 w("  분식코너  에서 " + crlf + "주문한 음식을 받으세요" + crlf + crlf),
                 w("[현금미결 : 12,500원]" + crlf + crlf), w(alignCenter),
                 w("주문자명 : (김철수)" + crlf + crlf), w(sizeNormal), w(alignLeft),
                 w(separator(2)),
                 // table line without guest count
                 w(doubleSize), w(alignCenter), w("테이블 : 12 " + crlf), w(sizeNormal),
                 w(alignLeft), w(separator(2)),
                 // body: the text after the last CR LF is not printed
                 w(alignLeft), w("  " + doubleWidth + "김밥 2" + crlf), w(alignLeft), w(sizeNormal),
                 pause(30), w(alignLeft), w("  " + doubleWidth + "라면 1" + crlf), w(alignLeft),
                 w(sizeNormal), pause(30), pause(30),
                 // footer
                 w(separator(2)), w(sizeNormal + alignCenter + stamp + crlf), w(alignLeft),
                 w(sizeNormal), w(crlf + crlf), w(cut)});
}

TEST(SerialLayout, HeadlineOrderSheetPostPaidWithMarkedLinesAndNoMargin) {
    const Row order = job({{"신규추가여부", "추가"},
                           {"테이블명", "7"},
                           {"프린트내용", "  * 콜라 추가\r\n└ 얼음 빼고\r\n 김치찌개 \r\n"}});
    const SheetSettings sheet = settings([](SheetSettings& s) {
        s.headline = true;
        s.leftMargin = 0;
        s.postPaid = true;
        s.option72 = true;
        s.receiptDelayMs = 10;
    });
    expectSteps(serialLayout(order, sheet, extras(QString(), 3)),
                {w(alignCenter), w(doubleSize), w(crlf + crlf), w(alignCenter),
                 w("[추가]주문번호 : 57" + crlf + crlf), w(sizeNormal), w(alignLeft),
                 w(separator(0)), w(doubleSize), w(alignCenter), w("테이블 : 7 (3명)" + crlf),
                 w(sizeNormal), w(alignLeft), w(separator(0)),
                 // marked lines in double height, leading blanks kept; others in the kitchen size
                 w(alignLeft), w(doubleHeight + "  * 콜라 추가" + sizeNormal + crlf), w(alignLeft),
                 w(sizeNormal), pause(10), w(alignLeft),
                 w(doubleHeight + "└ 얼음 빼고" + sizeNormal + crlf), w(alignLeft), w(sizeNormal),
                 pause(10), w(alignLeft), w(doubleWidth + " 김치찌개 " + crlf), w(alignLeft),
                 w(sizeNormal), pause(10), pause(45), w(separator(0)),
                 w(sizeNormal + alignCenter + stamp + crlf), w(alignLeft), w(sizeNormal),
                 w(QString())});
}

TEST(SerialLayout, MarkedLinesUseTheKitchenSizeWithoutOption72) {
    const Row order = job({{"프린트내용", "  * 콜라\r\n"}});
    const LayoutSteps steps = serialLayout(order, settings(), extras());
    EXPECT_EQ(steps.at(7), w("  " + doubleWidth + "  * 콜라" + crlf));
}

TEST(SerialLayout, KitchenMessagePostPaidTableNameThatIsNotANumber) {
    const Row message = job({{"출력물종류", "주방메세지"},
                             {"진동벨번호", "3"},
                             {"테이블명", "룸A"},
                             {"결제여부", "미결"},
                             {"미결금액", 1234567},
                             {"프린트내용", "빨리요\r\n"}});
    const SheetSettings sheet = settings([](SheetSettings& s) { s.postPaid = true; });
    expectSteps(serialLayout(message, sheet, extras(crlf, 0)),
                {w(alignCenter),
                 w(doubleSize),
                 w(crlf + crlf),
                 w("호출번호 : 3" + crlf + crlf),
                 w("[현금미결 : 1,234,567원]" + crlf + crlf),
                 w(sizeNormal),
                 w(alignLeft),
                 w(separator(2)),
                 w(doubleSize),
                 w(alignCenter),
                 w("룸A " + crlf),
                 w(sizeNormal),
                 w(alignLeft),
                 w(separator(2)),
                 w(alignLeft),
                 w("  " + doubleWidth + "빨리요" + crlf),
                 w(alignLeft),
                 w(sizeNormal),
                 pause(30),
                 pause(15),
                 w(separator(2)),
                 w(sizeNormal + alignCenter + stamp + crlf),
                 w(alignLeft),
                 w(sizeNormal),
                 w(crlf)});
}

TEST(SerialLayout, DeliveryOrderDropsPickupNoticeAndGuestsAndCutsTheRemark) {
    const Row delivery = job({{"주문번호", 88},
                              {"테이블명", "배달3"},
                              {"코너명", "문앞에 두고 벨은 누르지 마세요 부탁"},
                              {"프린트내용", "짜장면 1\r\n"}});
    const SheetSettings sheet = settings([](SheetSettings& s) {
        s.foodCourtHeader = true;
        s.postPaid = true;
    });
    expectSteps(serialLayout(delivery, sheet, extras(crlf, 4)),
                {w(alignCenter),
                 w(doubleSize),
                 w(crlf + crlf),
                 w(alignCenter),
                 w("주문번호 : 88" + crlf + crlf),
                 w(sizeNormal),
                 w(alignLeft),
                 w(separator(2)),
                 w(doubleSize),
                 w(alignCenter),
                 w("배달3 " + crlf),
                 w(sizeNormal),
                 w(alignLeft),
                 w(separator(2)),
                 w(alignLeft),
                 w("  " + doubleWidth + "짜장면 1" + crlf),
                 w(alignLeft),
                 w(sizeNormal),
                 pause(30),
                 pause(15),
                 w(separator(2)),
                 w(sizeNormal + alignCenter + stamp + crlf),
                 w(alignLeft),
                 w(sizeNormal),
                 w(doubleHeight + "  비고 : 문앞에 두고 벨은 누르지 마세" + sizeNormal + crlf),
                 w(crlf)});
}

TEST(SerialLayout, TicketHasNoHeaderNoMarginAndNoCut) {
    const Row ticket =
        job({{"출력물종류", "티켓"}, {"테이블명", "5"}, {"프린트내용", "식권 1매\r\n"}});
    const SheetSettings sheet = settings([](SheetSettings& s) { s.autoCut = true; });
    expectSteps(serialLayout(ticket, sheet, extras(QString())),
                {w(alignCenter), w(doubleSize), w(doubleSize), w(alignCenter),
                 w("테이블 : 5 " + crlf), w(sizeNormal), w(alignLeft), w(separator(2)),
                 w("식권 1매" + crlf), pause(30), pause(15), w(alignLeft), w(sizeNormal),
                 w(QString())});
}

TEST(SerialLayout, PostPaidTicketKeepsTheCentredDoubleSizeForItsBody) {
    const Row ticket = job({{"출력물종류", "티켓"}, {"테이블명", "5"}, {"프린트내용", "식권\r\n"}});
    const SheetSettings sheet = settings([](SheetSettings& s) { s.postPaid = true; });
    expectSteps(serialLayout(ticket, sheet, extras(QString())),
                {w(alignCenter), w(doubleSize), w("식권" + crlf), pause(30), pause(15),
                 w(alignLeft), w(sizeNormal), w(QString())});
}

TEST(SerialLayout, PlainJobInNormalSizeWithMarginAndCut) {
    const Row plain = job({{"출력물종류", "영수증"}, {"프린트내용", "A\r\nB\r\n"}});
    const SheetSettings sheet = settings([](SheetSettings& s) { s.autoCut = true; });
    expectSteps(serialLayout(plain, sheet, extras(crlf)),
                {w(alignCenter), w(doubleSize), w(sizeNormal + alignLeft), w("A" + crlf), pause(30),
                 w(sizeNormal + alignLeft), w("B" + crlf), pause(30), pause(30), w(alignLeft),
                 w(sizeNormal), w(crlf), w(cut)});
}

TEST(SerialLayout, BodyWithoutLineBreakPrintsNoLineAndWaitsNothing) {
    const Row plain = job({{"출력물종류", "영수증"}, {"프린트내용", "끝나지 않은 줄"}});
    expectSteps(serialLayout(plain, settings(), extras(QString())),
                {w(alignCenter), w(doubleSize), w(alignLeft), w(sizeNormal), w(QString())});
}

// A margin that is no number fails only the layouts that write one: a ticket still prints.
TEST(SerialLayout, LeftMarginIsANumberOfBlanksFromNoneToAWholeLine) {
    EXPECT_THROW(leftMarginBlanks(QStringLiteral("두 칸")), ConversionError);
    EXPECT_EQ(leftMarginBlanks(-3), 0);
    EXPECT_EQ(leftMarginBlanks(2147483647), 48);
    for (const QVariant& margin : {QVariant(), QVariant(QStringLiteral("두 칸"))}) {
        const SheetSettings sheet =
            settings([&margin](SheetSettings& s) { s.leftMargin = margin; });
        const Row ticket = job({{"출력물종류", "티켓"}, {"프린트내용", "김밥 1\r\n"}});
        EXPECT_NO_THROW(serialLayout(ticket, sheet, extras(QString())));
        EXPECT_THROW(serialLayout(job({}), sheet, extras(QString())), ConversionError);
    }
}
