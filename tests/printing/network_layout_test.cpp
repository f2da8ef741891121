#include "layout_expectations.h"
#include "network_layout.h"

#include <gtest/gtest.h>

// Expected tickets spelled out from the network printer's rules: each LayoutStep is one send,
// one pause, or one run of the event loop.
using namespace layout_expectations;

TEST(NetworkLayout, FoodCourtOrderSheetKeepsTheHeaderCentredAndCutsWithALineEnd) {
    const Row order = job({{"진동벨번호", "9"},
                           {"테이블명", "5"},
                           {"코너명", "한식코너"},
                           {"결제여부", "미결"},
                           {"미결금액", 12500},
                           {"주문자명", "김철수"},
                           {"프린트내용", "  콜라  \r\n└ 얼음\r\n"}});
    const SheetSettings sheet = settings([](SheetSettings& s) {
        s.foodCourtHeader = true;
        s.autoCut = true;
    });
    expectSteps(
        networkLayout(order, sheet, extras(crlf, 2)),
        {w(alignCenter + doubleSize), w(crlf + crlf), w("주문서 # 57" + crlf + crlf),
         w("호출번호 # 9" + crlf + crlf),
         w("한식코너 에서 " + crlf + "주문한 음식을 받으세요" + crlf + crlf),
         w("[현금미결: 12,500원]" + crlf + crlf), w("주문자명 : (김철수)" + crlf + crlf),
         w(sizeNormal), w(separator(2)),
         // the table line has two blanks before the colon and shows guests for every POS type
         w(doubleSize), w("테이블  : 5  (2명)" + crlf), w(sizeNormal), w(separator(2)),
         // body lines: size before the margin, blanks trimmed, "└" without special treatment
         w(doubleWidth), w(alignLeft), events(), w(alignLeft), w(doubleWidth + "  콜라" + crlf),
         w(alignLeft), w(sizeNormal), events(), pause(30), w(alignLeft),
         w(doubleWidth + "  └ 얼음" + crlf), w(alignLeft), w(sizeNormal), events(), pause(30),
         // footer: the closing separator is centred
         w(alignCenter + separator(2)), w(sizeNormal + alignCenter + stamp + crlf), w(alignLeft),
         w(sizeNormal), w(crlf), w(cut + crlf), events()});
}

TEST(NetworkLayout, OrderTitlesOfEachHeaderStyle) {
    const auto title = [](int orderNumber, bool foodCourt) {
        const Row order = job({{"주문번호", orderNumber}, {"신규추가여부", "X"}});
        const SheetSettings sheet = settings([foodCourt](SheetSettings& s) {
            s.foodCourtHeader = foodCourt;
            s.headline = true;
        });
        return networkLayout(order, sheet, extras()).at(2).text;
    };
    EXPECT_EQ(title(57, true), "주문서 # 57" + crlf + crlf);
    EXPECT_EQ(title(0, true), "주문서" + crlf + crlf);
    EXPECT_EQ(title(57, false), "주문서 (X) # 57" + crlf + crlf);
    EXPECT_EQ(title(0, false), "주문서 (X)" + crlf + crlf);
}

TEST(NetworkLayout, TicketGetsTableLineKitchenSizeAndCutButNoHeader) {
    const Row ticket =
        job({{"출력물종류", "티켓"}, {"테이블명", "3"}, {"프린트내용", " 식권 \r\n"}});
    const SheetSettings sheet = settings([](SheetSettings& s) {
        s.autoCut = true;
        s.postPaid = true;
    });
    expectSteps(networkLayout(ticket, sheet, extras(QString(), 0)),
                {w(doubleSize), w("테이블  : 3  " + crlf), w(sizeNormal), w(separator(2)),
                 w(doubleWidth), w(alignLeft), events(), w(alignLeft),
                 w(doubleWidth + "  식권" + crlf), w(alignLeft), w(sizeNormal), events(), pause(30),
                 w(alignLeft), w(sizeNormal), w(QString()), w(cut + crlf), events()});
}

TEST(NetworkLayout, Option72KeepsMarkedLinesWholeInDoubleHeight) {
    const Row order = job({{"프린트내용", "  * 콜라\r\n"}});
    const SheetSettings sheet = settings([](SheetSettings& s) {
        s.option72 = true;
        s.leftMargin = 0;
    });
    const LayoutSteps steps = networkLayout(order, sheet, extras());
    EXPECT_EQ(steps.at(8), w(doubleHeight + "  * 콜라" + sizeNormal + crlf));
}

TEST(NetworkLayout, PostPaidDeliveryDropsGuestsAndCutsTheRemarkAt15) {
    const Row delivery = job({{"출력물종류", "주방메세지"},
                              {"테이블명", "배달7"},
                              {"코너명", "문앞에 두고 벨은 누르지 마세요 부탁"}});
    const SheetSettings sheet = settings([](SheetSettings& s) { s.postPaid = true; });
    const LayoutSteps steps = networkLayout(delivery, sheet, extras(QString(), 4));
    EXPECT_EQ(steps.at(5), w("테이블  : 배달7  " + crlf));
    EXPECT_EQ(steps.at(steps.size() - 3),
              w(doubleHeight + "  비고 : 문앞에 두고 벨은 누르지 마" + sizeNormal + crlf));
}
