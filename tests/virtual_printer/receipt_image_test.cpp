#include "escpos_bytes.h"
#include "escpos_decoder.h"
#include "receipt_image.h"

#include <QDir>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace escpos_bytes;

namespace {

// An order sheet as the print server sends it to a network printer: the header centred in
// double size, the table, body lines in double height, the order time, the cut.
QByteArray orderSheet() {
    QByteArray bytes = alignCenter + doubleSize + crlf + crlf + alignCenter +
                       text(QStringLiteral("주문번호 : 57")) + crlf + crlf +
                       text(QStringLiteral("호출번호 : 15")) + crlf + crlf + sizeNormal +
                       alignLeft + separator + doubleSize + alignCenter +
                       text(QStringLiteral("테이블 : 12 ")) + crlf + sizeNormal + alignLeft +
                       separator;
    for (const QString& line :
         {QStringLiteral("김치찌개 2"), QStringLiteral("된장찌개 1"), QStringLiteral("공기밥 3")}) {
        bytes += alignLeft + doubleHeight + text(line) + crlf + alignLeft + sizeNormal;
    }
    return bytes + separator + sizeNormal + alignCenter +
           text(QStringLiteral("주문일시 : 2026-12-09 09:05:07")) + crlf + alignLeft + sizeNormal +
           crlf + crlf + cut;
}

QImage orderSheetImage() {
    EscPosDecoder decoder;
    const std::vector<PrinterEvent> events = decoder.feed(orderSheet());
    EXPECT_EQ(events.size(), 1U);
    return receiptImage(std::get<CutReceipt>(events.at(0)).receipt);
}

bool isInk(const QImage& image, int x, int y) {
    return image.constScanLine(y)[x] < 128;
}

// Rows that carry ink, in runs, with the columns their ink spans.
struct InkBand {
    int top = 0;
    int bottom = 0;
    int left = 0;
    int right = 0;

    int height() const { return bottom - top + 1; }
    int width() const { return right - left + 1; }
    double centre() const { return (left + right) / 2.0; }
};

std::vector<InkBand> inkBands(const QImage& image) {
    std::vector<InkBand> bands;
    bool inBand = false;
    for (int y = 0; y < image.height(); ++y) {
        int left = image.width();
        int right = -1;
        for (int x = 0; x < image.width(); ++x) {
            if (isInk(image, x, y)) {
                left = std::min(left, x);
                right = x;
            }
        }
        if (right < 0) {
            inBand = false;
            continue;
        }
        if (!inBand) {
            bands.push_back({y, y, left, right});
            inBand = true;
        }
        InkBand& band = bands.back();
        band.bottom = y;
        band.left = std::min(band.left, left);
        band.right = std::max(band.right, right);
    }
    return bands;
}

double meanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            sum += std::abs(a.constScanLine(y)[x] - b.constScanLine(y)[x]);
        }
    }
    return sum / (255.0 * a.width() * a.height());
}

// The ink bands of the order sheet, top to bottom.
enum Band {
    OrderNumber,
    PagerNumber,
    FirstSeparator,
    Table,
    SecondSeparator,
    FirstBodyLine,
    LastBodyLine = FirstBodyLine + 2,
    LastSeparator,
    OrderTime,
    CutLine,
    BandCount
};

} // namespace

TEST(ReceiptImage, OrderSheetLooksLikeTheReference) {
    const QImage actual = orderSheetImage();
    const QImage reference = QImage(QStringLiteral(REFERENCE_IMAGE_DIR "/order-sheet.png"))
                                 .convertToFormat(QImage::Format_Grayscale8);
    EXPECT_EQ(actual.width(), reference.width()) << "reference missing or of another size";
    EXPECT_EQ(actual.height(), reference.height());
    if (actual.size() == reference.size()) {
        EXPECT_LT(meanDifference(actual, reference), 0.01);
    }
    if (HasFailure()) {
        const QString kept = QDir::temp().filePath(QStringLiteral("order-sheet-actual.png"));
        actual.save(kept);
        ADD_FAILURE() << "the rendered order sheet is in " << kept.toStdString();
    }
}

TEST(ReceiptImage, OrderSheetIsPaperWideWithALineOfInkPerPrintedLine) {
    const QImage image = orderSheetImage();
    EXPECT_EQ(image.width(), 576);
    EXPECT_EQ(inkBands(image).size(), static_cast<std::size_t>(BandCount));
}

TEST(ReceiptImage, CentredDoubleSizeTitleSitsInTheMiddle) {
    const std::vector<InkBand> bands = inkBands(orderSheetImage());
    ASSERT_EQ(bands.size(), static_cast<std::size_t>(BandCount));
    const InkBand& title = bands[OrderNumber];
    EXPECT_NEAR(title.centre(), 576 / 2.0, 4);
    // "주문번호 : 57" is 13 columns of 12 dots, twice as wide.
    EXPECT_NEAR(title.width(), 13 * 12 * 2, 24);
    EXPECT_NEAR(title.height(), 2.0 * bands[OrderTime].height(), 4);
}

TEST(ReceiptImage, DoubleHeightBodyLinesAreTwiceAsTallButNotWider) {
    const std::vector<InkBand> bands = inkBands(orderSheetImage());
    ASSERT_EQ(bands.size(), static_cast<std::size_t>(BandCount));
    const InkBand& normalLine = bands[OrderTime];
    for (int band = FirstBodyLine; band <= LastBodyLine; ++band) {
        const InkBand& body = bands[band];
        EXPECT_NEAR(body.height(), 2.0 * normalLine.height(), 4) << "band " << band;
        EXPECT_LT(body.left, 6) << "band " << band;
        // "김치찌개 2" is 10 columns of 12 dots.
        EXPECT_LE(body.right, 10 * 12) << "band " << band;
    }
}

TEST(ReceiptImage, SeparatorsAreFortyThinHyphensFromTheLeft) {
    const std::vector<InkBand> bands = inkBands(orderSheetImage());
    ASSERT_EQ(bands.size(), static_cast<std::size_t>(BandCount));
    for (const int band : {FirstSeparator, SecondSeparator, LastSeparator}) {
        EXPECT_LE(bands[band].height(), 4) << "band " << band;
        EXPECT_LT(bands[band].left, 6) << "band " << band;
        EXPECT_NEAR(bands[band].right, 40 * 12, 6) << "band " << band;
    }
}

TEST(ReceiptImage, CutLineRunsAcrossThePaperAtTheBottom) {
    const QImage image = orderSheetImage();
    const std::vector<InkBand> bands = inkBands(image);
    ASSERT_EQ(bands.size(), static_cast<std::size_t>(BandCount));
    EXPECT_LT(bands[CutLine].left, 12);
    EXPECT_GT(bands[CutLine].right, 576 - 12);
    EXPECT_GT(bands[CutLine].top, bands[OrderTime].bottom);
    EXPECT_LT(bands[CutLine].bottom, image.height() - 1);
}
